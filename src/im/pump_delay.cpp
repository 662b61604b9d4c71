#include "im/pump_delay.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace varnel::im {
namespace {

std::mutex wait_mutex;
std::condition_variable wait_cv;
std::atomic<bool> interrupted{false};

bool on_event_loop_thread() {
  auto* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

}  // namespace

void pump_delay(int milliseconds) {
  if (interrupted) return;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(0, milliseconds));
  if (on_event_loop_thread()) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // A quit request of the application ends the wait as well.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
    // Polls the interrupt flag; interrupt_delays() may be called from any thread.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      if (interrupted) loop.quit();
    });
    poll.start(20);
    timer.start(std::max(0, milliseconds));
    loop.exec();
    return;
  }
  std::unique_lock lock(wait_mutex);
  wait_cv.wait_until(lock, deadline, [] { return interrupted.load(); });
}

void interrupt_delays() {
  {
    std::lock_guard lock(wait_mutex);
    interrupted = true;
  }
  wait_cv.notify_all();
}

void resume_delays() { interrupted = false; }

bool delays_interrupted() { return interrupted; }

}  // namespace varnel::im
