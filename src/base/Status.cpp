#include "base/Status.h"

namespace quillon {

std::string Status::ToString() const {
  if (ok()) return "OK";
  if (file_.empty()) return what_;
  return file_ + ": " + what_;
}

}  // namespace quillon
