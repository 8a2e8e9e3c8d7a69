// A clock that always tells the same date.
#pragma once

#include "platform/Clock.h"

namespace quillon::testing {

class FixedClock : public Clock {
 public:
  explicit FixedClock(Date date) : date_(date) {}
  Date Today() override { return date_; }
  void Set(Date date) { date_ = date; }

 private:
  Date date_;
};

}  // namespace quillon::testing
