// A worker that runs on left-over processor time: idle while nobody waits for it, and raised
// to the policy of any other thread once waited for. A worker left idle would hold up
// whoever waits (the program closing on a busy machine) for as long as the machine is busy,
// so where the process may not raise it again (an ordinary user) it is never made idle.
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QtTest>
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include "store/idlethread.h"
#include "support/nobody.h"
#include "support/testmain.h"

namespace {

// The soft nice limit of the process, for the lifetime of the object.
class NiceLimit {
 public:
  explicit NiceLimit(rlim_t soft) {
    if (::getrlimit(RLIMIT_NICE, &old_) != 0) return;
    rlimit changed = old_;
    changed.rlim_cur = soft;
    set_ = ::setrlimit(RLIMIT_NICE, &changed) == 0;
  }
  ~NiceLimit() {
    if (set_) ::setrlimit(RLIMIT_NICE, &old_);
  }
  NiceLimit(const NiceLimit&) = delete;
  NiceLimit& operator=(const NiceLimit&) = delete;
  bool set() const { return set_; }

 private:
  rlimit old_{};
  bool set_ = false;
};

}  // namespace

class IdleThreadTest : public QObject {
  Q_OBJECT

 private slots:
  void idleUntilWaitedFor_data();
  void idleUntilWaitedFor();
};

void IdleThreadTest::idleUntilWaitedFor_data() {
  QTest::addColumn<bool>("ordinaryUser");  // no right to raise a thread's priority
  QTest::addColumn<int>("policyWhileRunning");
  QTest::newRow("may raise it again") << false << SCHED_IDLE;
  QTest::newRow("ordinary user") << true << SCHED_OTHER;
}

void IdleThreadTest::idleUntilWaitedFor() {
  QFETCH(bool, ordinaryUser);
  QFETCH(int, policyWhileRunning);
  std::optional<testing_support::AsNobody> nobody;
  std::optional<NiceLimit> limit;
  if (ordinaryUser) {
    nobody.emplace();  // root's right to raise priorities goes with its user id
    limit.emplace(0);  // and no nice value may be lowered
    QVERIFY(nobody->binding() && limit->set());
  } else if (::geteuid() != 0) {
    limit.emplace(RLIM_INFINITY);
    if (!limit->set()) QSKIP("this user may not raise a thread's priority");
  }

  std::atomic<bool> go{false};
  std::atomic<bool> seenFirst{false};
  int policySeen = -1;
  int policyOnceWaitedFor = -1;
  store::IdleThread worker;
  worker.start([&] {
    while (!go) std::this_thread::yield();
    policySeen = sched_getscheduler(0);
    seenFirst = true;
    // Until the waiting thread raises it; the bound only keeps a broken raise from hanging.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (sched_getscheduler(0) == SCHED_IDLE && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::yield();
    policyOnceWaitedFor = sched_getscheduler(0);
  });
  QVERIFY(worker.started());
  go = true;  // start() has set the policy by now
  while (!seenFirst) std::this_thread::yield();
  worker.wait();
  QVERIFY(!worker.started());
  QCOMPARE(policySeen, policyWhileRunning);
  QCOMPARE(policyOnceWaitedFor, SCHED_OTHER);
  worker.wait();  // nothing left to wait for
}

QUILL_TEST_MAIN(IdleThreadTest)
#include "tst_ui_idlethread.moc"
