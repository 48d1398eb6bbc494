// A worker thread that runs only on time the processors have left over, until it is waited
// for: from then on it runs as any other thread, so whoever waits is not held up by every
// other program on the machine. Where the process has no right to raise a thread again (an
// ordinary user, as a rule), the worker runs as any other thread throughout.
#pragma once

#include <functional>
#include <thread>

namespace store {

class IdleThread {
 public:
  IdleThread() = default;
  IdleThread(const IdleThread&) = delete;
  IdleThread& operator=(const IdleThread&) = delete;
  // Waits for the work, as wait() does.
  ~IdleThread();

  // Starts `work` on a new thread; a thread started before is waited for first.
  void start(std::function<void()> work);
  // Raises the thread to the priority of any other thread and waits until its work is done.
  // Returns at once when nothing runs. Its end is then seen by the waiting thread with all it
  // wrote.
  void wait();
  // Whether work was started and not yet waited for.
  bool started() const { return thread_.joinable(); }

 private:
  std::thread thread_;
};

}  // namespace store
