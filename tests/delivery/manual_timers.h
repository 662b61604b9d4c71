#pragma once
// The engine's timers on a clock that the test moves by hand: arming records a due time, and advance()
// fires each timer that falls due, in order, as the window's one-shot timers would.

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "delivery/delivery_ports.h"

namespace varnel::testing {

using delivery::TimerId;

class ManualTimers : public delivery::TimersPort {
 public:
  void arm(TimerId timer, int period_ms) override {
    std::lock_guard lock(mutex_);
    due_[timer] = now_ + period_ms;
    arms_.emplace_back(timer, period_ms);
  }
  void stop_all() override {
    std::lock_guard lock(mutex_);
    due_.clear();
    ++stops_;
  }

  // When the timer fires next, in the test's milliseconds; none while it is stopped.
  std::optional<long long> due(TimerId timer) const {
    std::lock_guard lock(mutex_);
    auto it = due_.find(timer);
    return it == due_.end() ? std::nullopt : std::optional<long long>(it->second - now_);
  }
  bool armed(TimerId timer) const { return due(timer).has_value(); }
  std::vector<std::pair<TimerId, int>> arms() const {
    std::lock_guard lock(mutex_);
    return arms_;
  }
  void clear_arms() {
    std::lock_guard lock(mutex_);
    arms_.clear();
  }
  int stops() const {
    std::lock_guard lock(mutex_);
    return stops_;
  }
  long long now() const {
    std::lock_guard lock(mutex_);
    return now_;
  }

  // Moves the clock on by `ms`. Each timer that falls due is stopped (one-shot) and handed to `fire`, which
  // starts its worker and waits for it, so whatever the pass arms counts from the moment it fired.
  // Returns the timers fired, in order.
  std::vector<TimerId> advance(long long ms, const std::function<void(TimerId)>& fire) {
    std::vector<TimerId> fired;
    long long target;
    {
      std::lock_guard lock(mutex_);
      target = now_ + ms;
    }
    while (true) {
      TimerId next{};
      {
        std::lock_guard lock(mutex_);
        auto earliest = due_.end();
        for (auto it = due_.begin(); it != due_.end(); ++it) {
          if (it->second <= target && (earliest == due_.end() || it->second < earliest->second)) earliest = it;
        }
        if (earliest == due_.end()) {
          now_ = target;
          return fired;
        }
        now_ = earliest->second;
        next = earliest->first;
        due_.erase(earliest);
      }
      fired.push_back(next);
      fire(next);
    }
  }

 private:
  mutable std::mutex mutex_;
  long long now_ = 0;
  std::map<TimerId, long long> due_;
  std::vector<std::pair<TimerId, int>> arms_;
  int stops_ = 0;
};

}  // namespace varnel::testing
