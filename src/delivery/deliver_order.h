#pragma once
// Carrying one order through: card-key pick, message, chat, consignment, message sent, sale recorded.

#include <atomic>
#include <string>

#include "delivery/card_key_store.h"
#include "delivery/delivery_engine.h"
#include "delivery/order_list.h"
#include "im/im_windows.h"
#include "im/window_system.h"
#include "market/endpoints.h"
#include "text/date_text.h"
#include "text/timing.h"

namespace varnel::delivery {

// What one delivery works with; the references outlive the call.
struct DeliveryContext {
  CardKeyStore& store;
  im::WindowSystem& ws;
  im::ImWindows im;
  std::string message_template;
  const market::Endpoints& endpoints;
  const Timing& timing;
  const text::Clock& clock;
  const std::atomic<bool>& exiting;  // set at exit: nothing is consigned any more
};

struct DeliveryResult {
  DeliveryOutcome outcome = DeliveryOutcome::no_stock;
  // delivered and not_recorded: whether the message with the key could be posted to the chat.
  bool message_sent = false;
};

DeliveryResult deliver_order(const DeliveryContext& with, const OrderRow& order);

}  // namespace varnel::delivery
