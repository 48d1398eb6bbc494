// Editing, saving and restoring: the last-saved snapshot, the Restore button as the mark
// of unsaved changes, Ctrl+S, auto-save and the question before a window with unsaved
// changes closes.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "editor/Editor_u.h"
#include "store/ioerror.h"
#include "store/topicfile.h"
#include "ui/platform.h"

namespace {
const QString kChangedQuestion = QStringLiteral(
    "This topic was changed by another window or program since you opened or saved it here. "
    "Do you wish to replace it with your text?");
}  // namespace

bool TEditorForm::unsaved() const {
  return BtRestore->isEnabled();
}

bool TEditorForm::SaveText() {
  return saveTopicFile(false);
}

bool TEditorForm::saveTopicFile(bool automatic) {
  const QString path = topicPath();
  if (!unreadable_.isEmpty()) {
    // The file holds text this window never showed: it is not written over.
    notice(QStringLiteral("error"), QStringLiteral("The topic could not be saved."), unreadable_,
           QStringLiteral("Ok"));
    return false;
  }
  // Another window or program saved the topic since this window read or saved it: its text
  // is replaced only when the user says so, and never by an auto-save.
  if (store::stampOf(path) != diskStamp_) {
    if (automatic) {
      if (!conflictTold_) {
        conflictTold_ = true;
        notice(QStringLiteral("warning"), QStringLiteral("Auto-Save left this topic unsaved:"),
               QStringLiteral("it was changed in another window."), QStringLiteral("Ok"));
      }
      return false;
    }
    if (ask(kChangedQuestion, false) != ui::Answer::Yes) return false;
  }
  // Unedited, the text is written back exactly as it was read.
  const QString text = unsaved() ? memoText() : restoreText_;
  try {
    diskStamp_ = store::saveTopic(path, text);
  } catch (const store::IoError& e) {
    // The old file is whole and the changes stay marked as unsaved.
    notice(QStringLiteral("error"), QStringLiteral("The topic could not be saved."), e.message(),
           QStringLiteral("Ok"));
    return false;
  }
  conflictTold_ = false;
  markUnsaved(false);
  restoreText_ = text;
  IconHide->start();
  saved_icon->show();
  saved_text->show();
  return true;
}

ui::Answer TEditorForm::ask(const QString& question, bool withCancel) {
  struct Open {
    int& count;
    explicit Open(int& c) : count(++c) {}
    ~Open() { --count; }
  } open(questionsOpen_);
  return ui::platform().confirm(this, question, withCancel);
}

void TEditorForm::SaveBtClick() {
  SaveText();
}

void TEditorForm::SaveAutoTTimer() {
  // While this window asks the user something, the answer decides what the file holds.
  if (questionsOpen_ > 0) return;
  // Only unsaved changes are written: a window with nothing new must not put its older
  // text over a later save of the same topic from another window.
  if (unsaved()) saveTopicFile(true);
}

void TEditorForm::AllTextChange() {
  if (!unsaved()) markUnsaved(true);
}

void TEditorForm::BtRestoreClick() {
  const ui::Answer answer =
      ask(QStringLiteral("Are you sure you wish to restore the text to the last saved state? "
                         "This will discard all changes made."),
          false);
  if (answer != ui::Answer::Yes) return;
  showText(restoreText_);
  markUnsaved(false);
}

void TEditorForm::IconHideTimer() {
  saved_icon->hide();
  saved_text->hide();
  IconHide->stop();
}

void TEditorForm::FormCloseQuery(bool& CanClose) {
  if (!unsaved()) return;
  switch (ask(QStringLiteral("Do you wish to save changes?"), true)) {
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
  if (watched == STXT && event->type() == QEvent::KeyPress)
    return findBoxKey(static_cast<QKeyEvent*>(event));
  if (watched == AllText && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (memoKey(key)) return true;
    if (key->matches(QKeySequence::InsertLineSeparator)) {
      // Shift+Enter breaks the line as Enter does (CR LF in the file). The memo's own line
      // separator (U+2028) stays for the character itself, which a file may hold.
      QKeyEvent enter(QEvent::KeyPress, key->key(), Qt::NoModifier, key->text());
      QCoreApplication::sendEvent(AllText, &enter);
      return true;
    }
    AllTextKeyDown(key->key(), key->modifiers());
    return AllTextKeyPress();
  }
  return QWidget::eventFilter(watched, event);
}
