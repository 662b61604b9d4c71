#include <charconv>

#include "delivery/deliver_order.h"
#include "delivery/delivery_engine.h"
#include "delivery/delivery_log.h"

namespace varnel::delivery {
namespace {

constexpr const char* kNoStockStatus = "卡密不足";
constexpr const char* kVerificationStatus = "对方有验证";

// An empty or non-numeric count counts as no attempt so far.
int attempts_of(const std::string& text) {
  int n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  return error == std::errc() && end == text.data() + text.size() ? n : 0;
}

}  // namespace

void DeliveryEngine::delivery_pass(PassMode mode) {
  {
    std::lock_guard lock(state_.delivery_lock);
    if (state_.delivery_enabled && im_ready()) {
      if (mode == PassMode::queue)
        work_queue_head();
      else
        work_retry_head();
    }
  }
  // Both modes keep the five-second cadence of the queue going.
  if (state_.delivery_enabled) timers_.arm(TimerId::delivery, config_.timing.delivery_period_ms);
}

DeliveryResult DeliveryEngine::deliver(const OrderRow& order) {
  const DeliveryContext context{store_,         ws_,           im(),    state_.message_template(), config_.endpoints,
                                config_.timing, config_.clock, exiting_};
  return deliver_order(context, order);
}

void DeliveryEngine::work_queue_head() {
  const std::optional<OrderRow> head = queue_.front();
  if (!head) return;
  if (store_.is_blacklisted(head->buyer_nick)) {
    queue_.pop_front();
    // Detection brings the order back while it stays paid: it is listed and logged the first time only.
    if (!blacklist_records_.contains(head->order_number)) {
      blacklist_records_.push_back({std::to_string(blacklist_records_.size() + 1), head->order_number, head->item_name,
                                    head->buyer_nick, "", ""});
      log_(log_line::blacklisted(head->buyer_nick));
    }
    return;
  }
  const DeliveryResult result = deliver(*head);
  if (handle_fault(PassMode::queue, *head, result, queue_)) return;
  switch (result.outcome) {
    case DeliveryOutcome::delivered:
      queue_.pop_front();
      log_(result.message_sent ? log_line::delivered(PassMode::queue, head->order_number)
                               : log_line::message_unsent(PassMode::queue, head->order_number, head->buyer_nick));
      break;
    case DeliveryOutcome::no_stock:
      queue_.pop_front();
      file_for_retry(*head, kNoStockStatus, 1);
      log_(log_line::no_stock(PassMode::queue, head->item_name));
      arm_resend();
      break;
    case DeliveryOutcome::verification_required:
      queue_.pop_front();
      file_for_retry(*head, kVerificationStatus, 1);
      log_(log_line::verification_required(PassMode::queue, head->buyer_nick));
      arm_resend();
      break;
    default:  // consign_failed: the order stays at the head for the next pass
      break;
  }
}

void DeliveryEngine::work_retry_head() {
  const std::optional<OrderRow> head = retry_list_.front();
  if (!head) return;
  // No blacklist check on a resend: the order was accepted when it was filed.
  const DeliveryResult result = deliver(*head);
  if (handle_fault(PassMode::resend, *head, result, retry_list_)) return;
  switch (result.outcome) {
    case DeliveryOutcome::delivered:
      retry_list_.pop_front();
      log_(result.message_sent ? log_line::delivered(PassMode::resend, head->order_number)
                               : log_line::message_unsent(PassMode::resend, head->order_number, head->buyer_nick));
      break;
    case DeliveryOutcome::no_stock:
      retry_list_.pop_front();
      file_for_retry(*head, kNoStockStatus, attempts_of(head->attempts) + 1);
      log_(log_line::no_stock(PassMode::resend, head->item_name));
      break;
    case DeliveryOutcome::verification_required:
      retry_list_.pop_front();
      file_for_retry(*head, kVerificationStatus, attempts_of(head->attempts) + 1);
      log_(log_line::verification_required(PassMode::resend, head->buyer_nick));
      break;
    default:  // consign_failed: the row stays at the head with its count
      break;
  }
  // The rows still waiting would otherwise wait for the next failure of a delivery from the queue.
  if (retry_list_.size() > 0) arm_resend();
}

bool DeliveryEngine::handle_fault(PassMode mode, const OrderRow& order, const DeliveryResult& result, OrderList& list) {
  switch (result.outcome) {
    case DeliveryOutcome::abandoned:
      return true;
    case DeliveryOutcome::im_closed:
      // Nothing was consigned: the order stays at the head for when the IM client is back.
      log_(log_line::im_closed(mode));
      pause_after_fault();
      return true;
    case DeliveryOutcome::not_recorded:
      // Shipped and (perhaps) sent: trying again would hand out the order twice, and a key left unmarked
      // could go to the next buyer, so delivery stops until the operator has looked.
      list.pop_front();
      log_(result.message_sent ? log_line::not_recorded(mode, order.order_number)
                               : log_line::unsent_and_not_recorded(mode, order.order_number, order.buyer_nick));
      pause_after_fault();
      return true;
    default:
      return false;
  }
}

void DeliveryEngine::file_for_retry(const OrderRow& order, const char* status, int attempts) {
  retry_list_.push_back({std::to_string(retry_list_.size()), order.order_number, order.item_name, order.buyer_nick,
                         status, std::to_string(attempts)});
}

void DeliveryEngine::arm_resend() {
  if (state_.delivery_enabled) timers_.arm(TimerId::resend, config_.timing.resend_period_ms);
}

}  // namespace varnel::delivery
