// Renaming from the editor: clicking the title opens the rename dialog for this window's
// topic, and the Check timer takes the new name once the dialog has written it.
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "dialogs/ChangeTopic_u.h"
#include "dialogs/Dialogs.h"
#include "editor/EditorParts.h"
#include "editor/Editor_u.h"
#include "store/settings.h"
#include "ui/platform.h"
#include "ui/windows.h"

void TEditorForm::TitleInfoClick() {
  TTopicEdit* dialog = dialogs_ ? dialogs_->TopicEdit.get() : nullptr;
  if (!dialog) return;
  // The address is "<language>/<page>,<slot>".
  const QString address = topicAddress();
  const int comma = address.indexOf(u',');
  try {
    // Up to three characters after the comma (the start of the text when there is none).
    const int slot = store::parseInteger(address.mid(comma + 1, 3));
    // A new rename begins: a name left over from an earlier one is not this window's.
    dialog->openFor(comma >= 0 ? address.left(comma) : QString(), slot,
                    TitleInfo->text() != editor::kTitlePlaceholder ? TitleInfo->text() : QString(),
                    this);
    Check->start();
  } catch (const store::ConvertError&) {
    ui::platform().messageBox(this, QStringLiteral("Error. (302)"));
  }
}

void TEditorForm::CheckTimer() {
  TTopicEdit* dialog = dialogs_ ? dialogs_->TopicEdit.get() : nullptr;
  // The name goes back to the window that opened the dialog; once another window has
  // opened it (or this one is gone from it) there is nothing more to wait for.
  if (!dialog || dialog->opener() != this) {
    Check->stop();
    return;
  }
  if (!dialog->done()) return;
  TitleInfo->setText(dialog->takeName());
  Check->stop();
}
