#pragma once
// A wall clock that tests set by hand.

#include <memory>

#include "text/date_text.h"

namespace varnel::testing {

class ManualClock {
 public:
  explicit ManualClock(text::LocalTime start = {2024, 3, 5, 13, 5, 9}) : now_(std::make_shared<text::LocalTime>(start)) {}
  void set(text::LocalTime t) { *now_ = t; }
  text::Clock clock() const {
    auto now = now_;
    return [now] { return *now; };
  }

 private:
  std::shared_ptr<text::LocalTime> now_;
};

}  // namespace varnel::testing
