#include "store/Removal.h"

#include <algorithm>
#include <thread>

#include "store/Bin.h"

namespace quillon {
namespace {

// "10", or "0.2": a time in seconds as a person reads it.
std::string Seconds(std::chrono::milliseconds ms) {
  std::string s = std::to_string(ms.count() / 1000);
  if (ms.count() % 1000 != 0) s += "." + std::to_string(ms.count() % 1000 / 100);
  return s;
}

// How far past the length a look gives the removal reads, to see records a
// share's out-of-date length does not show yet.
constexpr std::size_t kReadPast = 64 * 1024;

}  // namespace

bool IsGap(std::string_view record) {
  return std::all_of(record.begin(), record.end(), [](char c) { return c == '\0'; });
}

Removal::Removal(Folder& folder, const LockToken& lock, const StoreFile& file,
                 const RemovalOptions& options)
    : folder_(folder), lock_(lock), file_(file), options_(options) {}

void Removal::TakeIn(std::string_view records, const KeepTest* keep, std::string* marks) {
  const std::size_t length = file_.length;
  for (std::size_t at = 0; at + length <= records.size(); at += length) {
    const std::string_view record = records.substr(at, length);
    const bool gap = IsGap(record);
    const bool kept = !gap && (keep == nullptr || (*keep)(record));
    marks->push_back(kept ? 'K' : 'R');
    (kept ? kept_ : removed_).append(record);
    ++(gap ? counts_.gaps : kept ? counts_.kept : counts_.removed);
  }
}

std::string Removal::Image(std::uint64_t step_end) const {
  const std::size_t length = file_.length;
  std::string image;
  image.reserve(original_.size());
  for (std::size_t i = 0; i < step_end / length; ++i) {
    if (marks_[i] == 'K') image.append(original_, i * length, length);
  }
  image.append(original_, image.size());
  return image;
}

bool Removal::EachByteOneOf(std::string_view now, std::string_view a, std::string_view b) const {
  if (now.size() < a.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (now[i] == a[i] || now[i] == b[i] || now[i] == '\0') continue;
    const bool in_fragment = i >= fragment_at_ && i - fragment_at_ < fragment_.size() &&
                             now[i] == fragment_[i - fragment_at_];
    if (!in_fragment) return false;
  }
  return true;
}

Status Removal::Check() {
  Status s = lock_.StillOurs();
  if (!s.ok() || temp_ == nullptr) return s;
  // The journal too: another program that took the lock over would have
  // finished it and cut the temporary file back.
  std::uint64_t size = 0;
  s = temp_->Size(&size);
  if (s.ok() && size != next_entry_) {
    return Status::Error(StatusCode::kTakenOver, file_.temp,
                         "was changed by another program while this removal was stopped; it "
                         "stopped without writing");
  }
  return s;
}

Status Removal::Note(char type, std::string_view payload) {
  Status s = Check();
  const std::string entry = JournalEntry(type, file_, kept_.size(), original_.size(), payload,
                                         next_entry_, lock_.mark());
  if (s.ok()) s = temp_->Write(next_entry_, entry);
  if (s.ok()) s = temp_->Sync();
  if (!s.ok()) return s;
  next_entry_ += entry.size();
  last_ = type;
  return s;
}

Status Removal::NoteBegin() {
  // The kept records first, at the start of the file, where they stay; then
  // the entry, its pieces written as they stand in memory.
  const std::string header = JournalHeader('B', file_, kept_.size(), original_.size(),
                                           {marks_, removed_, bin_note_}, kept_);
  const std::string trailer = JournalTrailer('B', kept_.size(), lock_.mark());
  begun_at_ = kept_.size();
  const std::uint64_t size =
      header.size() + marks_.size() + removed_.size() + bin_note_.size() + trailer.size();
  Status s = temp_->Write(0, kept_);
  if (s.ok()) s = temp_->Truncate(begun_at_ + size);
  std::uint64_t at = begun_at_;
  for (std::string_view piece : {std::string_view(header), std::string_view(marks_),
                                 std::string_view(removed_), std::string_view(bin_note_),
                                 std::string_view(trailer)}) {
    if (s.ok()) s = temp_->Write(at, piece);
    at += piece.size();
  }
  if (s.ok()) s = temp_->Sync();
  if (s.ok()) next_entry_ = begun_at_ + size;
  return s;
}

Status Removal::WriteKept(std::uint64_t from) {
  // A zero byte first, where the cut will be: behind every record that
  // moves, so a reader finds it at every moment until the cut. It is on
  // disk before the records move, so that no power cut leaves records moved
  // without a zero byte to show it.
  const std::uint64_t kept = kept_.size();
  Status s = Check();
  if (s.ok() && kept < original_.size()) {
    s = main_->Write(kept, std::string_view("\0", 1));
    if (s.ok()) s = main_->Sync();
  }
  if (s.ok() && from < kept) {
    s = Check();
    if (s.ok()) s = main_->Write(from, std::string_view(kept_).substr(static_cast<std::size_t>(from)));
    if (s.ok()) s = main_->Sync();
  }
  return s;
}

Status Removal::Run(const KeepTest& keep) {
  Status s = folder_.OpenFile(file_.main, /*create=*/true, &main_);
  std::uint64_t size = 0;
  if (s.ok()) s = main_->Size(&size);
  if (s.ok()) s = main_->Read(0, static_cast<std::size_t>(size), &original_);
  if (!s.ok()) return s;
  // Zero bytes other than whole records of them: a removal cut short whose
  // journal the caller has not yet looked at whole, or damage that no
  // lesson writes; either way nothing is written over them here.
  for (std::size_t at = original_.find('\0'); at != std::string::npos;
       at = original_.find('\0', at + 1)) {
    const std::size_t record = at / file_.length;
    const std::string_view r = std::string_view(original_).substr(record * file_.length, file_.length);
    if (r.size() < file_.length || !IsGap(r)) {
      zero_bytes_ = true;
      return Status::Error(
          StatusCode::kDamaged, file_.main,
          "holds a zero byte at byte " + std::to_string(at) + " (in record " +
              std::to_string(record + 1) +
              "), which no tutoring lesson writes and no removal under way explains: the file "
              "is damaged there. Nothing was removed; restore " +
              file_.main + " from a backup to remove records from it again.");
    }
    at = (record + 1) * file_.length - 1;
  }
  original_.resize(original_.size() / file_.length * file_.length);
  kept_.reserve(original_.size());
  removed_.reserve(original_.size());
  TakeIn(original_, &keep, &marks_);
  if (counts_.removed == 0 && counts_.gaps == 0) {
    // Nothing to remove: the main file stays as it is; the temporary file
    // holds the kept records, as after every removal.
    s = Check();
    if (s.ok() && JournalIsLive(folder_, file_)) s = LiveJournalInTheWay(file_);
    std::unique_ptr<File> temp;
    if (s.ok()) s = folder_.OpenPrivateFile(file_.temp, &temp);
    if (s.ok()) s = temp->Write(0, kept_);
    if (s.ok()) s = temp->Truncate(kept_.size());
    return s;
  }
  // The bin first: a removal whose bin entry cannot be written does not
  // begin.
  if (options_.bin != nullptr) {
    s = CheckBinWritable(folder_, *options_.bin);
    if (!s.ok()) return s.With("; nothing was removed");
    bin_note_ = EncodeBinNote(*options_.bin, NewBinKey());
  }
  bool created = false;
  s = Check();
  if (s.ok() && JournalIsLive(folder_, file_)) s = LiveJournalInTheWay(file_);
  if (s.ok()) s = folder_.OpenPrivateFile(file_.temp, &temp_, &created);
  if (s.ok()) s = NoteBegin();
  if (s.ok() && created) s = folder_.SyncFolder();
  if (!s.ok()) {
    // The main file is untouched; the journal must not be taken for one.
    if (temp_ != nullptr && s.code() != StatusCode::kTakenOver) (void)temp_->Truncate(0);
    return s.With("; nothing was removed");
  }
  const std::size_t first_removed = marks_.find('R');
  s = WriteKept(first_removed * file_.length);
  if (s.ok()) s = MoveAppendedAndCut(&keep);
  return s;
}

Status Removal::FileInBin() {
  BinNote note;
  std::string key;
  if (!DecodeBinNote(bin_note_, &note, &key)) return Status::OK();  // checked by the hash
  // Gaps are not records: they go nowhere.
  std::string records;
  records.reserve(removed_.size());
  for (std::size_t at = 0; at + file_.length <= removed_.size(); at += file_.length) {
    const std::string_view r = std::string_view(removed_).substr(at, file_.length);
    if (!IsGap(r)) records.append(r);
  }
  Status s = Check();
  if (s.ok()) s = AddToBin(folder_, note, key, file_.main, file_.length, records);
  if (s.ok()) bin_behind_ = false;
  return s;
}

Status Removal::MoveAppendedAndCut(const KeepTest* keep) {
  const auto start = std::chrono::steady_clock::now();
  auto last_look = start;
  std::chrono::steady_clock::duration stopped{};
  for (;;) {
    const auto now = std::chrono::steady_clock::now();
    // Time the removal itself was stopped (a computer put to sleep) is not
    // time a lesson kept appending.
    if (now - last_look > std::chrono::seconds(1)) stopped += now - last_look;
    last_look = now;
    if (now - start - stopped > options_.give_up_after) {
      Status s = Undo();
      if (!s.ok()) return s;
      return Status::Error(StatusCode::kBusy, file_.main,
                           "kept growing at every look for " + Seconds(options_.give_up_after) +
                               " seconds while records were to be removed (a lesson appends to "
                               "it without pause); the removal was undone and nothing was "
                               "removed");
    }
    Status s = Check();
    std::uint64_t size = 0;
    if (s.ok()) s = main_->Size(&size);
    const std::uint64_t end = original_.size();
    std::string tail;
    // Past the length too: a share may state a length out of date.
    if (s.ok()) s = main_->Read(end, static_cast<std::size_t>(std::max(size, end) - end) + kReadPast, &tail);
    if (!s.ok()) return s;
    // Shorter than what was read: looked at again once a share has caught
    // up; else another program shortened it (one that took this removal
    // over says so).
    auto shortened = [&] {
      Status taken = Check();
      if (!taken.ok()) return taken;
      return Status::Error(StatusCode::kDamaged, file_.main,
                           "was shortened by another program while records were removed");
    };
    if (end + tail.size() < size || end + tail.size() < end) return shortened();
    if (size < end && tail.empty()) {
      std::string probe;
      s = main_->Read(end - 1, 1, &probe);
      if (!s.ok()) return s;
      if (probe.empty()) return shortened();
    }
    const std::size_t whole = tail.size() / file_.length * file_.length;
    if (whole > 0) {
      // Records a lesson appended meanwhile: journaled, then moved down
      // behind the kept ones, a new zero byte behind them.
      const std::string_view appended = std::string_view(tail).substr(0, whole);
      for (std::size_t at = 0; at < whole; at += file_.length) {
        const std::string_view r = appended.substr(at, file_.length);
        if (r.find('\0') != std::string_view::npos && !IsGap(r)) {
          s = Undo();
          if (!s.ok()) return s;
          return Status::Error(StatusCode::kDamaged, file_.main,
                               "received a record holding a zero byte while records were "
                               "removed; the removal was undone and nothing was removed");
        }
      }
      const std::uint64_t from = kept_.size();
      const std::size_t removed_before = removed_.size();
      std::string marks;
      TakeIn(appended, keep, &marks);
      counts_.appended_meanwhile += marks.size();
      original_.append(appended);
      marks_.append(marks);
      if (removed_.size() != removed_before) bin_behind_ = true;
      // On disk before the journal says they were there: a lesson's records
      // not yet forced could vanish in a power cut that leaves the journal,
      // behind a zero byte the removal wrote already. (Before the first
      // zero byte a journal that no longer fits is set aside, harmless.)
      s = main_->Sync();
      if (s.ok()) s = Note('A', std::string(appended) + marks);
      if (s.ok()) s = WriteKept(from);
      if (!s.ok()) return s;
      continue;
    }
    if (end + tail.size() > size) {
      // More than the stated length: the share has not caught up.
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      continue;
    }
    // Every removed record is in the bin before the cut can be journaled.
    if (!bin_note_.empty() && bin_behind_) {
      s = FileInBin();
      if (!s.ok()) {
        if (s.code() == StatusCode::kTakenOver) return s;
        Status undo = Undo();
        if (!undo.ok()) return undo;
        return s.With("; the removal was undone and nothing was removed");
      }
    }
    // A partial record at the end (a lesson's write in progress) goes
    // behind the kept records, never dropped.
    const std::string fragment = tail;
    if (last_ != 'C' || fragment != fragment_) {
      // Journaled before any cut; then a fresh look, so that only system
      // calls, no flush, stand between the last look and the cut.
      s = Note('C', fragment);
      if (!s.ok()) return s;
      fragment_ = fragment;
      fragment_at_ = kept_.size();
      fragment_written_ = false;
      continue;
    }
    if (!fragment_.empty() && !fragment_written_) {
      // A zero byte behind where the fragment goes first, then the
      // fragment: a zero byte stands behind the kept records at every
      // moment until the cut.
      const std::uint64_t at = kept_.size();
      s = Check();
      if (s.ok()) s = main_->Write(at + fragment_.size(), std::string_view("\0", 1));
      if (s.ok()) s = main_->Sync();
      if (s.ok()) s = Check();
      if (s.ok()) s = main_->Write(at, fragment_);
      if (s.ok()) s = main_->Sync();
      if (!s.ok()) return s;
      fragment_written_ = true;
      continue;
    }
    s = Check();
    bool cut = false;
    if (s.ok()) s = main_->TruncateIfSize(size, kept_.size() + fragment_.size(), &cut);
    if (!s.ok()) return s;
    if (!cut) continue;  // something was appended since the look
    s = main_->Sync();
    if (!s.ok()) return s;
    return Done();
  }
}

Status Removal::Undo() {
  // Every record back where it was; what lessons appended stays behind.
  // The front first, while the zero byte still stands behind the kept
  // records, so that no power cut leaves records doubled without it.
  Status s = Note('U', "");
  const std::size_t first_removed = marks_.find('R');
  const std::size_t kept = kept_.size();
  if (s.ok() && first_removed != std::string::npos) {
    const std::size_t from = first_removed * file_.length;
    if (from < kept) {
      s = main_->Write(from, std::string_view(original_).substr(from, kept - from));
      if (s.ok()) s = main_->Sync();
    }
    if (s.ok()) s = Check();
    if (s.ok()) {
      s = main_->Write(std::max(from, kept), std::string_view(original_).substr(std::max(from, kept)));
    }
  }
  if (s.ok()) s = main_->Sync();
  // What the bin was given goes again: the records are all back.
  BinNote note;
  std::string key;
  if (s.ok() && DecodeBinNote(bin_note_, &note, &key)) {
    s = Check();
    if (s.ok()) s = TakeFromBin(folder_, note.id, key, file_.main);
  }
  if (s.ok()) s = Check();
  if (s.ok()) s = temp_->Truncate(0);
  if (s.ok()) s = temp_->Sync();
  if (!s.ok()) return s;
  undone_ = true;
  counts_ = RewriteResult();
  return s;
}

Status Removal::Done() {
  // The journal goes in one step (cut back to where it began), then the
  // records taken in from lessons meanwhile follow the first kept ones.
  Status s = Check();
  if (s.ok()) s = temp_->Truncate(begun_at_);
  if (s.ok() && kept_.size() > begun_at_) {
    s = temp_->Write(begun_at_, std::string_view(kept_).substr(begun_at_));
  }
  if (s.ok()) s = temp_->Sync();
  return s;
}

Status Removal::Resume(JournalState state, bool* fits) {
  *fits = false;
  Status s = folder_.OpenFile(file_.main, /*create=*/false, &main_);
  if (s.ok()) s = folder_.OpenPrivateFile(file_.temp, &temp_);
  std::uint64_t size = 0;
  std::string now;
  if (s.ok()) s = main_->Size(&size);
  if (s.ok()) s = main_->Read(0, static_cast<std::size_t>(size), &now);
  if (!s.ok()) return s;
  original_ = std::move(state.original);
  marks_ = std::move(state.marks);
  next_entry_ = state.next_entry;
  begun_at_ = state.kept_at_begin;
  last_ = state.last;
  bin_note_ = std::move(state.bin_note);
  fragment_ = std::move(state.fragment);
  for (std::size_t i = 0; i < marks_.size(); ++i) {
    const std::string_view r = std::string_view(original_).substr(i * file_.length, file_.length);
    (marks_[i] == 'K' ? kept_ : removed_).append(r);
    ++(marks_[i] == 'K' ? counts_.kept : IsGap(r) ? counts_.gaps : counts_.removed);
  }
  fragment_at_ = state.fragment_at;
  const std::uint64_t end = original_.size(), kept = kept_.size();
  const std::string after = Image(end);
  // From here on entries are appended after the last whole one.
  auto take_over = [&] {
    *fits = true;
    return temp_->Truncate(next_entry_);
  };

  if (last_ == 'U') {
    if (!EachByteOneOf(now, after, original_)) return s;
    s = take_over();
    return s.ok() ? Undo() : s;
  }
  if (last_ == 'C') {
    // The bin received every removed record before C was journaled.
    bin_behind_ = false;
    const std::size_t f = fragment_.size();
    const bool kept_in_place = now.size() >= kept && now.compare(0, kept, kept_) == 0;
    if (!kept_in_place) return s;
    const bool fragment_in_place = now.size() >= kept + f && now.compare(kept, f, fragment_) == 0;
    // Not cut while a zero byte still stands where the cut goes: at the
    // kept records' end, or behind the fragment (a lesson's record appended
    // after the cut never begins with one, nor does a fragment).
    const bool not_cut =
        now.size() >= end && (now[kept] == '\0' || (f > 0 && now[kept + f] == '\0'));
    if (!not_cut && !fragment_in_place) return s;
    s = take_over();
    if (!s.ok()) return s;
    return not_cut ? MoveAppendedAndCut(nullptr) : Done();
  }
  const std::string before = Image(state.step_from);
  if (!EachByteOneOf(now, before, after)) return s;
  s = take_over();
  if (!s.ok()) return s;
  // Rewritten from the first byte that is not yet the one the removal
  // leaves there (an earlier step's zero byte, or a fragment, may stand
  // where the record moving there begins like the one standing there).
  std::uint64_t from = 0;
  while (from < kept && now[from] == after[from]) ++from;
  s = WriteKept(from);
  if (s.ok()) s = MoveAppendedAndCut(nullptr);
  return s;
}

}  // namespace quillon
