// A clock that tells the same date and time until the test moves it.
#pragma once

#include "platform/Clock.h"

namespace quillon::testing {

class FixedClock : public Clock {
 public:
  explicit FixedClock(Date date) : now_{date} {}
  Date Today() override { return now_.date; }
  DateTime Now() override { return now_; }
  // A new date, at its midnight.
  void Set(Date date) { now_ = DateTime{date}; }
  // A time of the same day.
  void At(int hour, int minute, int second = 0) {
    now_.hour = hour;
    now_.minute = minute;
    now_.second = second;
  }

 private:
  DateTime now_;
};

}  // namespace quillon::testing
