// The four dialog windows that live for the whole run: created hidden at start-up, then
// shown and hidden, never recreated.
#pragma once

#include <memory>

class TChangePA;
class TTopicEdit;
class TErrorFrame;
class TAboutApp;

struct Dialogs {
  Dialogs();  // creates, hidden, in this order: page description, rename, message, about
  ~Dialogs();
  Dialogs(const Dialogs&) = delete;
  Dialogs& operator=(const Dialogs&) = delete;

  std::unique_ptr<TChangePA> ChangePA;
  std::unique_ptr<TTopicEdit> TopicEdit;
  std::unique_ptr<TErrorFrame> ErrorFrame;
  std::unique_ptr<TAboutApp> AboutApp;
};
