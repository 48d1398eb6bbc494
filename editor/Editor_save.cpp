// Editing, saving and restoring: the last-saved snapshot, the Restore button as the mark
// of unsaved changes, Ctrl+S, auto-save and the question before a window with unsaved
// changes closes.
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "editor/Editor_u.h"
#include "store/ioerror.h"
#include "store/topicfile.h"
#include "ui/platform.h"

bool TEditorForm::SaveText() {
  const QString text = memoText();
  try {
    store::saveTopic(storelocation->text(), text);
  } catch (const store::IoError& e) {
    // The old file is whole and the changes stay marked as unsaved.
    notice(QStringLiteral("error"), QStringLiteral("The topic could not be saved."), e.message(),
           QStringLiteral("Ok"));
    return false;
  }
  BtRestore->setEnabled(false);
  restoreText_ = text;
  IconHide->start();
  saved_icon->show();
  saved_text->show();
  return true;
}

void TEditorForm::SaveBtClick() {
  SaveText();
}

void TEditorForm::SaveAutoTTimer() {
  // Only unsaved changes are written: a window with nothing new must not put its older
  // text over a later save of the same topic from another window.
  if (BtRestore->isEnabled()) SaveText();
}

void TEditorForm::AllTextChange() {
  if (!BtRestore->isEnabled()) BtRestore->setEnabled(true);
}

void TEditorForm::BtRestoreClick() {
  const ui::Answer answer = ui::platform().confirm(
      this,
      QStringLiteral("Are you sure you wish to restore the text to the last saved state? This "
                     "will discard all changes made."),
      false);
  if (answer != ui::Answer::Yes) return;
  AllText->setPlainText(restoreText_);
  BtRestore->setEnabled(false);
}

void TEditorForm::IconHideTimer() {
  saved_icon->hide();
  saved_text->hide();
  IconHide->stop();
}

void TEditorForm::FormCloseQuery(bool& CanClose) {
  if (!BtRestore->isEnabled()) return;
  switch (ui::platform().confirm(this, QStringLiteral("Do you wish to save changes?"), true)) {
    case ui::Answer::Yes:
      // A save that failed keeps the window, and its text, open.
      CanClose = SaveText();
      break;
    case ui::Answer::No:
      break;
    case ui::Answer::Cancel:
      CanClose = false;
      break;
  }
}

void TEditorForm::closeEvent(QCloseEvent* event) {
  bool CanClose = true;
  FormCloseQuery(CanClose);
  if (!CanClose) {
    event->ignore();
    return;
  }
  // A closed window is released; until then it must not save or poll any more.
  SaveAutoT->stop();
  Check->stop();
  IconHide->stop();
  event->accept();
}

bool TEditorForm::AllTextKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  // Ctrl+S exactly: Ctrl+Shift+S and Ctrl+Alt+S are left alone.
  if (key == Qt::Key_S && modifiers == Qt::ControlModifier) {
    SaveText();
    shifton = true;
  }
  return false;
}

bool TEditorForm::AllTextKeyPress() {
  // The character that Ctrl+S produces never reaches the text.
  if (!shifton) return false;
  shifton = false;
  return true;
}

bool TEditorForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == AllText && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    AllTextKeyDown(key->key(), key->modifiers());
    return AllTextKeyPress();
  }
  return QWidget::eventFilter(watched, event);
}
