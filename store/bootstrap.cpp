#include "store/bootstrap.h"

#include <utility>

#include "store/datatree.h"
#include "store/linefile.h"

namespace store {

Bootstrap::Bootstrap(const QString& first)
    : start_(std::async(std::launch::async, &Bootstrap::begin, first)) {}

Bootstrap::~Bootstrap() {
  wait();
}

Bootstrap::Start Bootstrap::begin(const QString& first) {
  bootstrapRoots();
  Start start;
  start.later = missingLanguages();
  start.created = !start.later.isEmpty();
  // The languages are made in their order: the first one here only when none comes before it.
  if (start.created && start.later.first() == first)
    createstruture(languageFolder(start.later.takeFirst()));
  return start;
}

void Bootstrap::finishStart() {
  const Start start = start_.get();
  later_ = start.later;
  created_ = start.created;
}

void Bootstrap::makeThemeFile() {
  created_ = bootstrapThemeFile(Flush::Later) || created_;
  flush_ = created_;
}

void Bootstrap::scheduleRest(std::function<void()> whenDone) {
  if (due_ || rest_.started() || !folderExists(dataRoot())) return;
  whenDone_ = std::move(whenDone);
  due_ = true;
}

void Bootstrap::startRest() {
  if (!due_) return;
  due_ = false;
  rest_.start([this] { makeRest(); });
}

void Bootstrap::wait() {
  startRest();
  rest_.wait();
}

std::exception_ptr Bootstrap::takeError() {
  return std::exchange(error_, nullptr);
}

void Bootstrap::makeRest() {
  try {
    for (const QString& key : later_) createstruture(languageFolder(key));
  } catch (...) {
    error_ = std::current_exception();
  }
  if (flush_) {
    try {
      flushFileSystem(dataRoot());
    } catch (...) {
      if (!error_) error_ = std::current_exception();
    }
  }
  removeStaleTemporariesOfTree();
  if (whenDone_) whenDone_();
}

bool makeDataTree() {
  Bootstrap tree(languageKeys().first());
  std::exception_ptr error;
  try {
    tree.finishStart();
    tree.makeThemeFile();
  } catch (...) {
    error = std::current_exception();
  }
  tree.scheduleRest();
  tree.wait();
  if (!error) error = tree.takeError();
  if (error) std::rethrow_exception(error);
  return tree.created();
}

}  // namespace store
