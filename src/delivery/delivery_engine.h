#pragma once
// Automatic delivery: the toggle, the passes on worker threads under one lock, and the order lists.
//
// Passes: detection (sold-items page -> queue), delivery (queue head -> buyer), resend (retry head -> buyer).
// Each runs on a worker thread of its own, holds state.delivery_lock for its whole work, and re-arms its
// timer through the TimersPort when it ends. The engine never touches a widget.

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "delivery/app_state.h"
#include "delivery/card_key_store.h"
#include "delivery/delivery_ports.h"
#include "delivery/order_list.h"
#include "delivery/worker_registry.h"
#include "im/im_windows.h"
#include "market/endpoints.h"
#include "store/db_connection.h"
#include "text/date_text.h"
#include "text/timing.h"

namespace varnel::im {
class WindowSystem;
}

namespace varnel::delivery {

enum class DeliveryOutcome {
  no_stock,               // nothing outside the database read
  verification_required,  // the chat was attempted; nothing sent, nothing consigned
  consign_failed,         // the marketplace did not confirm; nothing sent, nothing recorded
  delivered,              // consigned, card key marked used and sale recorded (the message may have failed)
  im_closed,              // the IM windows were gone before consigning: nothing consigned
  not_recorded,           // consigned and the key handed out, but marking it used or the sale failed
  abandoned,              // exit came before consigning: the order is untouched
};
enum class PassMode { queue = 1, resend = 2 };
enum class ToggleResult { not_logged_in, im_not_initialised, paused, started };

struct DeliveryResult;

struct EngineConfig {
  std::string database_path;  // <run dir>/data/data.mdb
  market::Endpoints endpoints;
  Timing timing;
  text::Clock clock;
};

class DeliveryEngine {
 public:
  DeliveryEngine(AppState& state, im::WindowSystem& ws, TimersPort& timers, LogSink log, EngineConfig config);
  ~DeliveryEngine();  // shutdown()
  DeliveryEngine(const DeliveryEngine&) = delete;
  DeliveryEngine& operator=(const DeliveryEngine&) = delete;

  // The start and pause button (window thread). `market_logged_in`: the marketplace session has an account.
  // Start: flags set, one detection and one delivery worker started at once. Pause: flags cleared, timers
  // stopped; running passes finish and arm nothing. A refusal logs its line here; the caller shows the box
  // ("请登陆淘宝!" or "请初始化旺旺!").
  ToggleResult toggle_delivery(bool market_logged_in);
  // A timer fired (window thread): starts one worker of its kind (resend: a delivery pass in resend mode).
  void timer_fired(TimerId timer);
  // Called (from a worker) when the engine itself paused delivery after a fault it cannot get past
  // (a sale that could not be recorded, the IM client gone); the app then shows the paused button.
  void set_on_paused(std::function<void()> on_paused);

  // The IM windows found by the last initialisation (window thread); read by the passes.
  void set_im(const im::ImWindows& windows);
  im::ImWindows im() const;

  // Exit: clears the flags and stops the timers, abandons passes that have not consigned yet (their waits
  // end at once), lets a pass that has consigned finish sending and recording, and joins every worker.
  // The log sink and the list callbacks may still be called until it returns, so they must not wait for
  // the window thread. No worker starts afterwards. It interrupts every im::pump_delay of the process; a
  // later main window calls im::resume_delays() before its waits run again.
  void shutdown();
  // Waits until every worker started so far has ended (tests; never on a worker).
  void wait_for_workers();

  OrderList& queue() { return queue_; }
  OrderList& retry_list() { return retry_list_; }
  OrderList& blacklist_records() { return blacklist_records_; }

  // The passes themselves, run on the calling thread (workers run them; tests may call them directly).
  void detection_pass();
  void delivery_pass(PassMode mode);

 private:
  void start_worker(TimerId kind);
  void work_queue_head();
  void work_retry_head();
  // Acts on the outcomes both modes share; false when the outcome is left to the caller.
  bool handle_fault(PassMode mode, const OrderRow& order, const DeliveryResult& result, OrderList& list);
  DeliveryResult deliver(const OrderRow& order);
  void file_for_retry(const OrderRow& order, const char* status, int attempts);
  void arm_resend();
  void pause_after_fault();
  bool im_ready() const;

  AppState& state_;
  im::WindowSystem& ws_;
  TimersPort& timers_;
  LogSink log_;
  const EngineConfig config_;

  mutable std::mutex im_mutex_;
  im::ImWindows im_;
  std::mutex on_paused_mutex_;
  std::function<void()> on_paused_;
  std::atomic<bool> exiting_{false};

  OrderList queue_;
  OrderList retry_list_;
  OrderList blacklist_records_;
  CardKeyStore store_;      // used under delivery_lock only
  WorkerRegistry workers_;  // last: its destruction joins the workers before the rest goes
};

// The chat message for one card key: the template with its "#帐号:123456789#" and "#密码:123456789#" markers
// replaced, or the template followed by the account and password texts when either marker is missing.
std::string compose_delivery_message(const std::string& message_template, const std::string& account,
                                     const std::string& password);

}  // namespace varnel::delivery
