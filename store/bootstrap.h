// Making whatever is missing of the data tree when the program starts. It runs in three
// parts, so that the home window shows its first page as soon as it can:
//  1. the start, begun at once on a worker beside the window being built: the data root, the
//     settings folder and, when it is the first language missing, the folder of the language
//     shown first;
//  2. in the window, once it shows that language: the theme file, when missing;
//  3. the rest, on a worker that runs on the time the processors have left over, once the
//     window is on its way to the screen: the other missing languages, each appearing whole,
//     one flush of everything new to disk, then the removal of the stale temporary files
//     (tempfiles.h) that saves cut short in an earlier run left in the tree.
// The first error ends parts 1 and 2 and stops the languages of part 3; whatever was made
// before it still reaches the disk in part 3's flush.
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
  // Begins part 1 on a worker; `first` is the key of the language shown first.
  explicit Bootstrap(const QString& first);
  // Waits for part 3, as wait() does.
  ~Bootstrap();
  Bootstrap(const Bootstrap&) = delete;
  Bootstrap& operator=(const Bootstrap&) = delete;

  // Waits for part 1. Throws the IoError it met.
  void finishStart();
  // Part 2: the theme file with "light" when it does not exist. Throws IoError.
  void makeThemeFile();

  // Readies part 3 for startRest, when the data root exists (part 1 may have failed to make
  // it): the languages part 1 found missing and left (none when part 1 failed), and the flush
  // unless parts 1 and 2 ran through and made nothing. `whenDone` is called on the worker
  // once part 3 has done its work.
  void scheduleRest(std::function<void()> whenDone = {});
  // Starts part 3 when it is due, at idle priority.
  void startRest();
  // Starts part 3 when it is due and waits until it has ended, raising the worker to the
  // priority of any other thread: the tree is then complete on disk, and what part 3 wrote
  // is seen by the caller.
  void wait();
  // The error part 3 met, once; null when it met none (or it was taken). Read after wait().
  std::exception_ptr takeError();
  // Whether parts 1 and 2 made anything: language folders or the theme file.
  bool created() const { return created_; }

 private:
  struct Start {
    bool created = false;
    QStringList later;
  };
  static Start begin(const QString& first);
  void makeRest();

  std::future<Start> start_;
  QStringList later_;     // the languages part 3 makes
  bool created_ = false;  // parts 1 and 2 made something
  bool flush_ = true;     // part 3 flushes; cleared when parts 1 and 2 ran through making nothing
  bool due_ = false;      // part 3 is scheduled and not yet started
  std::function<void()> whenDone_;
  IdleThread rest_;
  std::exception_ptr error_;  // written by part 3's worker, read after it ended
};

// The whole bootstrap without a window, each part in turn as a start runs them. Returns
// whether parts 1 and 2 made anything. Throws the first error met, once part 3 has ended.
bool makeDataTree();

}  // namespace store
