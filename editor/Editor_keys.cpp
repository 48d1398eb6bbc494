// The editor from the keyboard and for screen readers: the window's keys (Ctrl+S, Ctrl+F,
// F3), Ctrl+Tab typing a tab, Enter in the find box, the controls' names, and the topic's
// name and unsaved state as screen readers hear them.
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include "editor/Editor_u.h"
#include "store/linefile.h"
#include "ui/access.h"
#include "ui/platform.h"

namespace {
bool isEnter(const QKeyEvent* key) {
  return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}
}  // namespace

void TEditorForm::nameControls() {
  namespace access = ui::access;
  // Pictures and strips that only decorate, and the labels that only keep the topic's
  // path and address.
  for (QWidget* w : {static_cast<QWidget*>(BackGround), static_cast<QWidget*>(BackGround2),
                     static_cast<QWidget*>(saved_icon), static_cast<QWidget*>(storelocation),
                     static_cast<QWidget*>(lgpage), RestoreMemo}) {
    access::leaveOut(w);
  }
  access::button(TitleInfo, QString());  // named by the topic's name it shows
  access::name(TrackBar1, FontSizeText->text());
  // On some desktops a combo box is called by the text it shows; its edit box by its name.
  access::name(FontBox, QStringLiteral("Font"));
  access::name(FontBox->lineEdit(), QStringLiteral("Font"));
  // The texts beside the controls label them for screen readers too.
  FontSizeText->setBuddy(TrackBar1);
  AUSAVEText->setBuddy(AutoSave);
  RDOnly->setBuddy(ReadOnly);
  access::name(AutoSave, AUSAVEText->text(), AutoSave->toolTip());
  access::name(ReadOnly, RDOnly->text(), ReadOnly->toolTip());
  access::name(SaveBt, SaveBt->text(), SaveBt->toolTip());
  access::name(BtRestore, BtRestore->text(), BtRestore->toolTip());
  access::name(SearchBt, QStringLiteral("Find"), SearchBt->toolTip());
  access::name(STXT, QStringLiteral("Find in Text"), STXT->placeholderText());
  access::name(AllText->verticalScrollBar(), QStringLiteral("Scroll Text"));
  markUnsaved(false);
}

void TEditorForm::showTitle(const QString& name) {
  // A name is one line, as the topic list stores it.
  const QString shown = store::oneLine(name);
  TitleInfo->setText(shown);
  AllText->setAccessibleName(shown);
  // The task bar and the window switcher tell the editors apart by their topics; the title
  // strip keeps its own caption.
  setWindowTitle(shown + QStringLiteral(" - Quillnote"));
}

void TEditorForm::markUnsaved(bool unsaved) {
  BtRestore->setEnabled(unsaved);
  AllText->setAccessibleDescription(unsaved ? QStringLiteral("Unsaved changes")
                                            : QStringLiteral("No unsaved changes"));
}

bool TEditorForm::memoKey(const QKeyEvent* key) {
  // Tab moves on to the next control; Ctrl+Tab types a tab, so code can be indented.
  if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
    if (!AllText->isReadOnly()) AllText->insertPlainText(QStringLiteral("\t"));
    return true;
  }
  return false;
}

bool TEditorForm::findBoxKey(const QKeyEvent* key) {
  if (!isEnter(key) || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
  ui::runReported([this] { findFromKeyboard(); });
  return true;
}

void TEditorForm::findFromKeyboard() {
  // The find selects what it found in the memo. Started in the find box, the keyboard stays
  // there: another Enter looks further instead of typing over the selection.
  const bool fromFindBox = STXT->hasFocus();
  SearchBtClick();
  if (fromFindBox) STXT->setFocus();
}

void TEditorForm::keyPressEvent(QKeyEvent* event) {
  // Keys that the focused control did not use come here. In the memo, Ctrl+S is taken
  // before the memo sees it (AllTextKeyDown).
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (event->key() == Qt::Key_S && modifiers == Qt::ControlModifier) {
    ui::runReported([this] { SaveText(); });
  } else if (event->key() == Qt::Key_F && modifiers == Qt::ControlModifier) {
    STXT->selectAll();
    STXT->setFocus(Qt::ShortcutFocusReason);
  } else if (event->key() == Qt::Key_F3 && modifiers == Qt::NoModifier) {
    ui::runReported([this] { findFromKeyboard(); });
  } else {
    QWidget::keyPressEvent(event);
  }
}

void TEditorForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!noticeAfterShow_) return;
  const Notice n = *noticeAfterShow_;
  noticeAfterShow_.reset();
  notice(n.mode, n.text, n.text2, n.button);
}
