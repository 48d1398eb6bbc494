// Making whatever is missing of the data tree when the program starts. It runs in three
// parts, so that the home window shows its first page as soon as it can:
//  - the start, begun at once on a worker beside the window being built: the data root, the
//    settings folder and, when it is the first language missing, the folder of the language
//    shown first;
//  - the theme file, when missing, made in the window once it shows that language;
//  - the rest, on a worker that runs on the time the processors have left over, once the
//    window is on its way to the screen: the other missing languages, each appearing whole,
//    one flush of everything new to disk, then the removal of the stale temporary files
//    (tempfiles.h) that saves cut short in an earlier run left in the tree.
// The first error ends the start and the theme file and stops the languages of the rest;
// whatever was made before it still reaches the disk in the rest's flush.
#pragma once

#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <future>

#include "store/idlethread.h"

namespace store {

class Bootstrap {
 public:
  // Begins the start on a worker; `first` is the key of the language shown first.
  explicit Bootstrap(const QString& first);
  // Waits for the rest, as wait() does.
  ~Bootstrap();
  Bootstrap(const Bootstrap&) = delete;
  Bootstrap& operator=(const Bootstrap&) = delete;

  // Waits for the start. Throws the IoError it met.
  void finishStart();
  // The theme file with "light" when it does not exist. Throws IoError.
  void makeThemeFile();

  // Readies the rest for startRest, when the data root exists (the start may have failed to
  // make it): the languages the start found missing and left (none when it failed), and the
  // flush unless the start and the theme file ran through and made nothing. `whenDone` is
  // called on the worker once the rest has done its work.
  void scheduleRest(std::function<void()> whenDone = {});
  // Starts the rest when it is due, at idle priority.
  void startRest();
  // Starts the rest when it is due and waits until it has ended, raising the worker to the
  // priority of any other thread: the tree is then complete on disk, and what the rest wrote
  // is seen by the caller.
  void wait();
  // The error the rest met, once; null when it met none (or it was taken). Read after wait().
  std::exception_ptr takeError();
  // Whether the start and the theme file made anything: language folders or the theme file.
  bool created() const { return created_; }

 private:
  struct Start {
    bool created = false;
    QStringList later;
  };
  static Start begin(const QString& first);
  void makeRest();

  std::future<Start> start_;
  QStringList later_;     // the languages the rest makes
  bool created_ = false;  // the start or the theme file made something
  bool flush_ = true;     // the rest flushes; cleared when the start and theme file made nothing
  bool due_ = false;      // the rest is scheduled and not yet started
  std::function<void()> whenDone_;
  IdleThread rest_;
  std::exception_ptr error_;  // written by the rest's worker, read after it ended
};

// The whole bootstrap without a window, each part in turn as a start runs them. Returns
// whether it made anything before the rest. Throws the first error met, once the rest has
// ended.
bool makeDataTree();

}  // namespace store
