#include "delivery/delivery_engine.h"

#include "delivery/delivery_log.h"
#include "im/pump_delay.h"

namespace varnel::delivery {

DeliveryEngine::DeliveryEngine(AppState& state, im::WindowSystem& ws, TimersPort& timers, LogSink log,
                               EngineConfig config)
    : state_(state),
      ws_(ws),
      timers_(timers),
      log_(std::move(log)),
      config_(std::move(config)),
      store_(config_.database_path) {}

DeliveryEngine::~DeliveryEngine() { shutdown(); }

ToggleResult DeliveryEngine::toggle_delivery(bool market_logged_in) {
  // The same checks come first for a pause, as for a start.
  if (!market_logged_in) {
    log_(log_line::kNotLoggedIn);
    return ToggleResult::not_logged_in;
  }
  if (!im_ready()) {
    log_(log_line::kImNotInitialised);
    return ToggleResult::im_not_initialised;
  }
  if (state_.running) {
    state_.running = false;
    state_.detection_enabled = false;
    state_.delivery_enabled = false;
    timers_.stop_all();
    return ToggleResult::paused;
  }
  state_.running = true;
  state_.detection_enabled = true;
  state_.delivery_enabled = true;
  // The first passes run at once; each arms its own timer when it ends.
  start_worker(TimerId::detection);
  start_worker(TimerId::delivery);
  return ToggleResult::started;
}

void DeliveryEngine::timer_fired(TimerId timer) { start_worker(timer); }

void DeliveryEngine::start_worker(TimerId kind) {
  workers_.start([this, kind] {
    switch (kind) {
      case TimerId::detection:
        detection_pass();
        break;
      case TimerId::delivery:
        delivery_pass(PassMode::queue);
        break;
      case TimerId::resend:
        delivery_pass(PassMode::resend);
        break;
    }
  });
}

void DeliveryEngine::set_on_paused(std::function<void()> on_paused) {
  std::lock_guard lock(on_paused_mutex_);
  on_paused_ = std::move(on_paused);
}

void DeliveryEngine::set_im(const im::ImWindows& windows) {
  std::lock_guard lock(im_mutex_);
  im_ = windows;
}

im::ImWindows DeliveryEngine::im() const {
  std::lock_guard lock(im_mutex_);
  return im_;
}

bool DeliveryEngine::im_ready() const {
  const im::ImWindows windows = im();
  return windows.chat_input != 0 && windows.toolbar != 0;
}

void DeliveryEngine::pause_after_fault() {
  state_.detection_enabled = false;
  state_.delivery_enabled = false;
  state_.running = false;
  timers_.stop_all();
  std::function<void()> on_paused;
  {
    std::lock_guard lock(on_paused_mutex_);
    on_paused = on_paused_;
  }
  if (on_paused) on_paused();
}

void DeliveryEngine::shutdown() {
  if (exiting_.exchange(true)) return;
  state_.detection_enabled = false;
  state_.delivery_enabled = false;
  timers_.stop_all();
  // A pass waiting in the IM chat wakes up now and stops before consigning.
  im::interrupt_delays();
  workers_.close_and_join();
  store_.close();
}

void DeliveryEngine::wait_for_workers() { workers_.join_all(); }

}  // namespace varnel::delivery
