// Today's date. Real: the system clock; tests use a fixed date.
#pragma once

namespace quillon {

struct Date {
  int year = 2000;  // four digits
  int month = 1;    // 1-12
  int day = 1;      // 1-31
  bool operator==(const Date&) const = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Today() = 0;
};

// The local date of the machine.
class SystemClock : public Clock {
 public:
  Date Today() override;
};

}  // namespace quillon
