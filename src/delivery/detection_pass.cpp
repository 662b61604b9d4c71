#include "delivery/delivery_engine.h"
#include "delivery/delivery_log.h"
#include "market/sold_items.h"

namespace varnel::delivery {

void DeliveryEngine::detection_pass() {
  {
    std::lock_guard lock(state_.delivery_lock);
    if (state_.detection_enabled) {
      for (const market::SoldOrder& sold :
           market::cut_sold_items(market::query_sold_items(config_.endpoints, config_.timing, &exiting_))) {
        if (sold.status != market::kPaidStatus) continue;
        if (queue_.contains(sold.order_number) || retry_list_.contains(sold.order_number)) continue;
        queue_.push_back({std::to_string(sold.position), sold.order_number, sold.item_name, sold.buyer_nick, "", ""});
        log_(log_line::detected(sold.order_number));
      }
    }
  }
  if (state_.detection_enabled) timers_.arm(TimerId::detection, config_.timing.detection_period_ms);
}

}  // namespace varnel::delivery
