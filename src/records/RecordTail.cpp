#include "records/RecordTail.h"

#include <limits>

namespace quillon {
namespace {

// Records read again before the appended ones: a removal that moved the
// records forward while lessons appended as much as it took out changes
// them, where one record alone could by chance be the same.
constexpr std::size_t kOverlap = 8;
constexpr std::size_t kAll = std::numeric_limits<std::size_t>::max();

}  // namespace

RecordTail::RecordTail(Folder& folder, std::string name, std::size_t length)
    : folder_(folder), name_(std::move(name)), length_(length) {}

void RecordTail::Report(TailLook* look) const {
  look->exists = last_.exists;
  look->changed = last_.changed;
  look->zero_at = zero_at_;
  look->partial = zero_at_ || last_.size < end_ ? 0 : static_cast<std::size_t>(last_.size - end_);
}

std::size_t RecordTail::Take(std::string_view bytes, std::uint64_t at) {
  std::size_t whole = bytes.size() / length_ * length_;
  const std::size_t zero = bytes.find('\0');
  if (zero != std::string_view::npos) {
    zero_at_ = at + zero;
    whole = std::min(whole, zero / length_ * length_);
  }
  const std::string_view taken = bytes.substr(0, whole);
  end_ = at + whole;
  // The file's last records up to end_, for the next look to compare.
  const std::size_t limit = kOverlap * length_;
  if (taken.size() >= limit) {
    last_records_.assign(taken.substr(taken.size() - limit));
  } else {
    last_records_.append(taken);
    if (last_records_.size() > limit) last_records_.erase(0, last_records_.size() - limit);
  }
  return whole;
}

Status RecordTail::ReadWhole(TailLook* look) {
  std::string bytes;
  FileLook opened;
  Status s = folder_.ReadFileFrom(name_, 0, kAll, &bytes, &opened);
  if (!s.ok()) return s;
  look->kind = TailLook::Kind::kReread;
  known_ = true;
  last_ = opened;
  zero_at_.reset();
  last_records_.clear();
  bytes.resize(Take(bytes, 0));
  look->records = std::move(bytes);  // a file of millions of records held once
  Report(look);
  return Status::OK();
}

Status RecordTail::Look(TailLook* look) {
  *look = TailLook{};
  FileLook now;
  Status s = folder_.LookAtFile(name_, &now);
  if (!s.ok()) return s;
  if (!known_) return ReadWhole(look);
  if (now.SameState(last_)) {
    Report(look);
    return Status::OK();
  }
  const bool grown_in_place =
      now.exists && last_.exists && now.SameFile(last_) && now.size > last_.size && !zero_at_;
  if (!grown_in_place) return ReadWhole(look);
  const std::uint64_t overlap = std::min<std::uint64_t>(end_, kOverlap * length_);
  const std::uint64_t from = end_ - overlap;
  std::string bytes;
  FileLook opened;
  s = folder_.ReadFileFrom(name_, from, kAll, &bytes, &opened);
  if (!s.ok()) return s;
  // Replaced or cut between the look and the open, or rewritten before the
  // end: read whole.
  if (!opened.exists || !opened.SameFile(last_) || opened.size < last_.size ||
      bytes.size() < overlap ||
      std::string_view(bytes).substr(0, static_cast<std::size_t>(overlap)) != last_records_) {
    return ReadWhole(look);
  }
  look->kind = TailLook::Kind::kAppended;
  last_ = opened;
  const std::string_view appended =
      std::string_view(bytes).substr(static_cast<std::size_t>(overlap));
  look->records.assign(appended.substr(0, Take(appended, end_)));
  Report(look);
  return Status::OK();
}

}  // namespace quillon
