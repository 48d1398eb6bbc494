// A worker that runs on left-over processor time: idle while nobody waits for it, and raised
// to the policy of any other thread once waited for. A worker left idle would hold up
// whoever waits (the program closing on a busy machine) for as long as the machine is busy.
#include <sched.h>

#include <QtTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "support/testmain.h"
#include "ui/idlethread.h"

class IdleThreadTest : public QObject {
  Q_OBJECT

 private slots:
  void idleUntilWaitedFor();
};

void IdleThreadTest::idleUntilWaitedFor() {
  std::atomic<bool> go{false};
  std::atomic<bool> seenFirst{false};
  int policyWhileRunning = -1;
  int policyOnceWaitedFor = -1;
  ui::IdleThread worker;
  worker.start([&] {
    while (!go) std::this_thread::yield();
    policyWhileRunning = sched_getscheduler(0);
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
  QCOMPARE(policyWhileRunning, SCHED_IDLE);
  QCOMPARE(policyOnceWaitedFor, SCHED_OTHER);
  worker.wait();  // nothing left to wait for
}

QUILL_TEST_MAIN(IdleThreadTest)
#include "tst_ui_idlethread.moc"
