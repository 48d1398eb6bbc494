#include "dialogs/Dialogs.h"

#include "dialogs/About_u.h"
#include "dialogs/ChangePgDes_u.h"
#include "dialogs/ChangeTopic_u.h"
#include "dialogs/Error_u.h"

Dialogs::Dialogs() {
  ChangePA = std::make_unique<TChangePA>();
  // The rename dialog is created before the message window it reports to; it is given
  // the message window as soon as that exists, before any event can reach it.
  TopicEdit = std::make_unique<TTopicEdit>(nullptr);
  ErrorFrame = std::make_unique<TErrorFrame>();
  TopicEdit->setErrorFrame(ErrorFrame.get());
  AboutApp = std::make_unique<TAboutApp>();
}

Dialogs::~Dialogs() = default;
