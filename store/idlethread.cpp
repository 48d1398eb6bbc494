#include "store/idlethread.h"

#include <linux/capability.h>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace store {

namespace {
void setPolicy(std::thread& thread, int policy) {
  const sched_param param{};
  pthread_setschedparam(thread.native_handle(), policy, &param);
}

// Whether a thread this thread starts may leave the idle policy again. Any thread may take
// it, but only one with the right to raise its own priority (CAP_SYS_NICE) or a nice limit
// (RLIMIT_NICE) that allows its nice value may give it up; an ordinary user has neither.
bool mayLeaveIdlePolicy() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct caps[_LINUX_CAPABILITY_U32S_3]{};
  if (::syscall(SYS_capget, &header, caps) == 0 &&
      (caps[CAP_TO_INDEX(CAP_SYS_NICE)].effective & CAP_TO_MASK(CAP_SYS_NICE)))
    return true;
  errno = 0;
  const int nice = ::getpriority(PRIO_PROCESS, 0);  // this thread's, which a new one inherits
  rlimit limit{};
  if (errno != 0 || ::getrlimit(RLIMIT_NICE, &limit) != 0) return false;
  // The limit is written 20 - nice: 1 allows nice 19 only, 40 allows nice -20.
  return limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= rlim_t(20 - nice);
}
}  // namespace

IdleThread::~IdleThread() {
  wait();
}

void IdleThread::start(std::function<void()> work) {
  wait();
  thread_ = std::thread(std::move(work));
  // A thread that could not be raised again would hold up whoever waits for it for as long
  // as the machine is busy: it then runs as any other thread from the start.
  if (mayLeaveIdlePolicy()) setPolicy(thread_, SCHED_IDLE);
}

void IdleThread::wait() {
  if (!thread_.joinable()) return;
  // The policy itself is changed, not a priority within it: an idle thread asked for a
  // higher priority under its own policy would stay idle.
  setPolicy(thread_, SCHED_OTHER);
  thread_.join();
}

}  // namespace store
