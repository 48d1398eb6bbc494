#include "ui/idlethread.h"

#include <pthread.h>
#include <sched.h>

namespace ui {

namespace {
void setPolicy(std::thread& thread, int policy) {
  const sched_param param{};
  pthread_setschedparam(thread.native_handle(), policy, &param);
}
}  // namespace

IdleThread::~IdleThread() {
  wait();
}

void IdleThread::start(std::function<void()> work) {
  wait();
  thread_ = std::thread(std::move(work));
  setPolicy(thread_, SCHED_IDLE);
}

void IdleThread::wait() {
  if (!thread_.joinable()) return;
  // The policy itself is changed, not a priority within it: an idle thread asked for a
  // higher priority under its own policy would stay idle.
  setPolicy(thread_, SCHED_OTHER);
  thread_.join();
}

}  // namespace ui
