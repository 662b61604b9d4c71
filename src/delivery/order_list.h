#pragma once
// The delivery queue, the retry list and the home blacklist records: thread-safe lists of orders owned by
// the engine. The home page's list views show them and are refreshed on the window thread.

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace varnel::delivery {

struct OrderRow {
  std::string sequence;      // 序列
  std::string order_number;  // 订单号, the key of the row
  std::string item_name;     // 商品名称
  std::string buyer_nick;    // 买家旺旺
  std::string status;        // 状态 (retry list: the reason of the last failure)
  std::string attempts;      // 次数 (retry list)
  friend bool operator==(const OrderRow&, const OrderRow&) = default;
};

class OrderList {
 public:
  std::vector<OrderRow> rows() const;
  size_t size() const;
  std::optional<OrderRow> front() const;
  bool contains(const std::string& order_number) const;
  void push_back(OrderRow row);
  bool pop_front();
  // Called after every change, on the thread that made it (the app queues a refresh of its view).
  void set_on_change(std::function<void()> on_change);

 private:
  void changed();

  mutable std::mutex mutex_;
  std::deque<OrderRow> rows_;
  std::function<void()> on_change_;
};

}  // namespace varnel::delivery
