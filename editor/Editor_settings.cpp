// The editor settings shared by all editor windows through one file: font size, font
// name, auto-save and read-only. Read once when a window is made, rewritten whole on every
// change.
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <algorithm>

#include "editor/EditorParts.h"
#include "editor/Editor_u.h"
#include "store/datatree.h"
#include "store/settings.h"

namespace {
void setMemoFontSize(QPlainTextEdit* memo, int points) {
  QFont f = memo->font();
  f.setPointSize(points);
  memo->setFont(f);
}
}  // namespace

void TEditorForm::readSettings() {
  {
    // Filling the list is no change of font: the box keeps its text, the memo its font.
    const QSignalBlocker quiet(FontBox);
    const QString shown = FontBox->currentText();
    FontBox->addItems(editor::installedFonts());
    FontBox->setCurrentIndex(-1);
    FontBox->setEditText(shown);
  }

  const store::SettingsRead read = store::readSettings(store::settingsPath());
  if (read.fontSize) {
    // The track bar holds its position within its range; the memo takes the held value.
    setMemoFontSize(AllText,
                    std::clamp(*read.fontSize, editor::kSmallestFont, editor::kLargestFont));
    TrackBar1->setValue(*read.fontSize);
  }
  if (read.fontName) {
    FontBox->setEditText(*read.fontName);
    QFont f = AllText->font();
    f.setFamily(*read.fontName);
    AllText->setFont(f);
  }
  if (read.autoSave) {
    if (*read.autoSave) {
      SaveAutoT->start();
    } else {
      SaveAutoT->stop();
    }
    AutoSave->setChecked(*read.autoSave);
  }
  if (read.readOnly) {
    AllText->setReadOnly(*read.readOnly);
    ReadOnly->setChecked(*read.readOnly);
  }
  // No settings file yet is the normal state before any setting was changed.
  if (read.failed && !read.missing) {
    notice(QStringLiteral("error"), QStringLiteral("A Error has occured reading"),
           QStringLiteral("the user settings."), QStringLiteral("Ok"));
  }
}

void TEditorForm::WriteSettings() {
  if (!AllOK) return;
  store::EditorSettings s;
  s.fontSize = TrackBar1->value();
  s.fontName = FontBox->currentText();
  s.autoSave = AutoSave->isChecked();
  s.readOnly = ReadOnly->isChecked();
  store::writeSettings(store::settingsPath(), s);
}

void TEditorForm::TrackBar1Change() {
  setMemoFontSize(AllText, TrackBar1->value());
  WriteSettings();
}

void TEditorForm::FontBoxChange() {
  QFont f = AllText->font();
  f.setFamily(FontBox->currentText());
  AllText->setFont(f);
  WriteSettings();
}

void TEditorForm::AutoSaveClick() {
  if (AutoSave->isChecked()) {
    SaveAutoT->start();
  } else {
    SaveAutoT->stop();
  }
  WriteSettings();
}

void TEditorForm::ReadOnlyClick() {
  AllText->setReadOnly(ReadOnly->isChecked());
  WriteSettings();
}
