#pragma once
// The seller's sold-items page: the query that asks for it and the cutting of the reply into orders.

#include "market/endpoints.h"
#include "text/timing.h"

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

namespace varnel::market {

inline constexpr const char* kPaidStatus = "买家已付款";

// One order block of the page, its fields decoded to UTF-8 (empty when a marker is missing).
struct SoldOrder {
  int position = 0;  // 1, 2, ... in page order, counting every block
  std::string status;
  std::string order_number;
  std::string item_name;
  std::string buyer_nick;

  bool operator==(const SoldOrder&) const = default;
};

std::string sold_items_query_body(std::string_view seller_id);

// Posts the query; the reply's GB18030 bytes up to the first zero byte, empty when the request failed
// or `cancel` turned true meanwhile.
std::string query_sold_items(const Endpoints& endpoints, const Timing& timing,
                             const std::atomic<bool>* cancel = nullptr);

// Every order block of a reply, in page order. Linear in the page, whatever the page holds.
std::vector<SoldOrder> cut_sold_items(std::string_view page);

}  // namespace varnel::market
