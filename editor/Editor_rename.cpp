// Renaming from the editor: clicking the title opens the rename dialog for this window's
// topic, and the Check timer takes the new name once the dialog has written it.
#include <QLabel>
#include <QTimer>

#include "dialogs/ChangeTopic_u.h"
#include "dialogs/Dialogs.h"
#include "editor/EditorParts.h"
#include "editor/Editor_u.h"
#include "store/datatree.h"
#include "store/settings.h"
#include "ui/platform.h"

void TEditorForm::TitleInfoClick() {
  TTopicEdit* dialog = dialogs_ ? dialogs_->TopicEdit.get() : nullptr;
  if (!dialog) return;
  try {
    const store::TopicAddress target = store::splitTopicAddress(topicAddress());
    // A new rename begins: a name left over from an earlier one is not this window's.
    dialog->openFor(target.lgandpage, target.slot,
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
  showTitle(dialog->takeName());
  Check->stop();
}
