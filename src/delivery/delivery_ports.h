#pragma once
// How the delivery engine reaches the screen: a log sink and the timers. The app implements them with
// the operation log and one-shot QTimers on the window thread; tests with plain objects.

#include <functional>
#include <string>

namespace varnel::delivery {

// Called from worker threads too; it must not wait for the window thread (exit joins the workers there).
using LogSink = std::function<void(const std::string&)>;

enum class TimerId { detection, delivery, resend };

class TimersPort {
 public:
  virtual ~TimersPort() = default;
  // (Re)starts the one-shot timer's countdown; called from worker threads too.
  virtual void arm(TimerId timer, int period_ms) = 0;
  // Stops every timer: pause and exit on the window thread, and the engine's own pause after a fault it
  // cannot get past, from a worker thread.
  virtual void stop_all() = 0;
};

}  // namespace varnel::delivery
