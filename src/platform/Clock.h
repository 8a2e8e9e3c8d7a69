// Today's date and the time of day. Real: the system clock; tests use a
// fixed date.
#pragma once

namespace quillon {

struct Date {
  int year = 2000;  // four digits
  int month = 1;    // 1-12
  int day = 1;      // 1-31
  bool operator==(const Date&) const = default;
};

struct DateTime {
  Date date;
  int hour = 0;  // 0-23
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Today() = 0;
  // Now; a clock that knows only the date gives its midnight.
  virtual DateTime Now() { return DateTime{Today()}; }
};

// The local date of the machine.
class SystemClock : public Clock {
 public:
  Date Today() override;
  DateTime Now() override;
};

}  // namespace quillon
