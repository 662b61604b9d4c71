#include "delivery/order_list.h"

namespace varnel::delivery {

std::vector<OrderRow> OrderList::rows() const {
  std::lock_guard lock(mutex_);
  return {rows_.begin(), rows_.end()};
}

size_t OrderList::size() const {
  std::lock_guard lock(mutex_);
  return rows_.size();
}

std::optional<OrderRow> OrderList::front() const {
  std::lock_guard lock(mutex_);
  if (rows_.empty()) return std::nullopt;
  return rows_.front();
}

bool OrderList::contains(const std::string& order_number) const {
  std::lock_guard lock(mutex_);
  for (const OrderRow& row : rows_) {
    if (row.order_number == order_number) return true;
  }
  return false;
}

void OrderList::push_back(OrderRow row) {
  {
    std::lock_guard lock(mutex_);
    rows_.push_back(std::move(row));
  }
  changed();
}

bool OrderList::pop_front() {
  {
    std::lock_guard lock(mutex_);
    if (rows_.empty()) return false;
    rows_.pop_front();
  }
  changed();
  return true;
}

void OrderList::set_on_change(std::function<void()> on_change) {
  std::lock_guard lock(mutex_);
  on_change_ = std::move(on_change);
}

void OrderList::changed() {
  std::function<void()> on_change;
  {
    std::lock_guard lock(mutex_);
    on_change = on_change_;
  }
  // Outside the lock: the listener may read the rows at once.
  if (on_change) on_change();
}

}  // namespace varnel::delivery
