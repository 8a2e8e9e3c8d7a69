#include "data/Removal.h"

#include <algorithm>
#include <thread>

#include "data/Bin.h"

namespace quillon {
namespace {

// True when every byte of `now` is the byte of `a` or of `b` at its place,
// or zero.
bool EachByteOneOf(std::string_view now, std::string_view a, std::string_view b) {
  if (now.size() < a.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (now[i] != a[i] && now[i] != b[i] && now[i] != '\0') return false;
  }
  return true;
}

// "10", or "0.2": a time in seconds as a person reads it.
std::string Seconds(std::chrono::milliseconds ms) {
  std::string s = std::to_string(ms.count() / 1000);
  if (ms.count() % 1000 != 0) s += "." + std::to_string(ms.count() % 1000 / 100);
  return s;
}

}  // namespace

Removal::Removal(Folder& folder, const RemovalFile& file, const RewriteOptions& options)
    : folder_(folder),
      file_(file),
      options_(options),
      start_(options.started.value_or(std::chrono::steady_clock::now())) {}

void Removal::TakeIn(std::string_view records, const KeepTest* keep, std::string* marks) {
  const std::size_t length = file_.length;
  for (std::size_t at = 0; at + length <= records.size(); at += length) {
    const std::string_view record = records.substr(at, length);
    const bool kept = keep == nullptr || (*keep)(record);
    marks->push_back(kept ? 'K' : 'R');
    (kept ? kept_ : removed_).append(record);
    ++(kept ? counts_.kept : counts_.removed);
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

Status Removal::Note(char type, std::string_view payload) {
  const std::string entry = JournalEntry(type, file_, kept_.size(), original_.size(), payload);
  Status s = temp_->Write(next_entry_, entry);
  return Noted(type, s, entry.size());
}

Status Removal::NoteBegin() {
  // The kept records first, at the start of the file, where they stay; then
  // the entry, its pieces written as they stand in memory.
  const std::string header = JournalHeader('B', file_, kept_.size(), original_.size(),
                                           {marks_, removed_, bin_note_}, kept_);
  begun_at_ = next_entry_ = kept_.size();
  const std::uint64_t size = header.size() + marks_.size() + removed_.size() + bin_note_.size();
  Status s = temp_->Write(0, kept_);
  if (s.ok()) s = temp_->Truncate(next_entry_ + size);
  std::uint64_t at = next_entry_;
  for (std::string_view piece : {std::string_view(header), std::string_view(marks_),
                                 std::string_view(removed_), std::string_view(bin_note_)}) {
    if (s.ok()) s = temp_->Write(at, piece);
    at += piece.size();
  }
  return Noted('B', s, size);
}

Status Removal::Noted(char type, Status s, std::uint64_t size) {
  if (s.ok()) s = temp_->Sync();
  if (s.ok()) next_entry_ += size;
  if (s.ok()) last_ = type;
  return s;
}

Status Removal::WriteKept(std::uint64_t from) {
  // A zero byte first, where the cut will be: behind every record that
  // moves, so a reader finds it at every moment until the cut. It is on
  // disk before the records move, so that no power cut leaves records moved
  // without a zero byte to show it.
  // (None when nothing is removed: only a partial record is cut off, and
  // the byte where the cut goes is a lesson's.)
  const std::uint64_t kept = kept_.size();
  Status s;
  if (kept < original_.size()) {
    s = main_->Write(kept, std::string_view("\0", 1));
    if (s.ok()) s = main_->Sync();
  }
  if (s.ok() && from < kept) {
    s = main_->Write(from, std::string_view(kept_).substr(static_cast<std::size_t>(from)));
    if (s.ok()) s = main_->Sync();
  }
  return s;
}

Status Removal::Run(const KeepTest& keep, bool* cut_short) {
  *cut_short = false;
  Status s = folder_.OpenFile(file_.main, /*create=*/true, &main_);
  std::uint64_t size = 0;
  if (s.ok()) s = main_->Size(&size);
  if (s.ok()) s = main_->Read(0, static_cast<std::size_t>(size), &original_);
  if (!s.ok()) return s;
  if (original_.find('\0') != std::string::npos) {
    *cut_short = true;
    main_.reset();  // open, it would refuse the finishing removal its lease
    return s;
  }
  original_.resize(original_.size() / file_.length * file_.length);
  kept_.reserve(original_.size());
  removed_.reserve(original_.size());
  TakeIn(original_, &keep, &marks_);
  if (counts_.removed == 0 && size == original_.size()) {
    // Nothing to remove: the main file stays as it is.
    std::unique_ptr<File> temp;
    s = folder_.OpenPrivateFile(file_.temp, &temp);
    if (s.ok()) s = temp->Write(0, kept_);
    if (s.ok()) s = temp->Truncate(kept_.size());
    return s;
  }

  bool created = false;
  s = folder_.OpenPrivateFile(file_.temp, &temp_, &created);
  if (s.ok()) {
    // The bin's note under B's hash: no removal is finished without it.
    if (options_.bin != nullptr) bin_note_ = EncodeBinNote(*options_.bin, NewBinKey());
    s = NoteBegin();
  }
  if (s.ok() && created) s = folder_.SyncFolder();
  if (!s.ok()) {
    // The main file is untouched; the journal must not be taken for one.
    if (temp_ != nullptr) (void)temp_->Truncate(0);
    return Status::Error(s.file(), s.what() + "; nothing was removed");
  }
  const std::size_t first_removed = marks_.find('R');
  s = WriteKept(first_removed == std::string::npos ? kept_.size() : first_removed * file_.length);
  if (s.ok()) s = MoveAppendedAndCut(&keep);
  return s;
}

Status Removal::MoveAppendedAndCut(const KeepTest* keep) {
  std::optional<std::chrono::steady_clock::time_point> partial_since;
  for (;;) {
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ > options_.give_up_after) {
      Status s = Undo();
      if (!s.ok()) return s;
      return Status::Error(file_.main, "kept growing at every look for " +
                                           Seconds(options_.give_up_after) +
                                           " seconds while records were to be removed (a program "
                                           "appends to it without pause); nothing was removed");
    }
    std::uint64_t size = 0;
    Status s = main_->Size(&size);
    if (!s.ok()) return s;
    const std::uint64_t end = original_.size();
    if (size < end) {
      return Status::Error(file_.main,
                           "was shortened by another program while records were removed");
    }
    const std::uint64_t whole = end + (size - end) / file_.length * file_.length;
    if (whole > end) {
      // Records a lesson appended meanwhile: journaled, then moved down
      // behind the kept ones, a new zero byte behind them.
      std::string appended;
      s = main_->Read(end, static_cast<std::size_t>(whole - end), &appended);
      if (!s.ok()) return s;
      appended.resize(appended.size() / file_.length * file_.length);
      const std::uint64_t from = kept_.size();
      std::string marks;
      TakeIn(appended, keep, &marks);
      counts_.appended_meanwhile += marks.size();
      original_.append(appended);
      marks_.append(marks);
      s = Note('A', appended + marks);
      if (s.ok()) s = WriteKept(from);
      if (!s.ok()) return s;
      partial_since.reset();
      continue;
    }
    if (size > end) {
      // A partial record at the end: a lesson's write in progress, given
      // time to complete; after that a stray fragment, cut off.
      if (!partial_since) partial_since = now;
      if (now - *partial_since < options_.partial_wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        continue;
      }
    }
    if (last_ != 'C') {
      // Journaled before any cut; then a fresh look, so that only system
      // calls, no flush, stand between the last look and the cut.
      s = Note('C', "");
      if (!s.ok()) return s;
      continue;
    }
    bool cut = false;
    s = main_->TruncateIfSize(size, kept_.size(), &cut);
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
    if (s.ok())
      s = main_->Write(std::max(from, kept),
                       std::string_view(original_).substr(std::max(from, kept)));
  }
  if (s.ok()) s = main_->Sync();
  if (s.ok()) s = temp_->Truncate(0);
  if (s.ok()) s = temp_->Sync();
  if (!s.ok()) return s;
  undone_ = true;
  counts_ = RewriteResult();
  return s;
}

Status Removal::FileInBin() {
  BinNote note;
  std::string key;
  if (!DecodeBinNote(bin_note_, &note, &key)) return Status::OK();  // checked by the hash
  Status s = AddToBin(folder_, note, key, file_.main, file_.length, removed_);
  if (s.ok()) return s;
  return Status::Error(s.file(), s.what() + "; the records were removed from " + file_.main +
                                     " and will be put in the bin when the program starts again");
}

Status Removal::Done() {
  // The removed records are in their bin entry, on disk, before the journal
  // that names them goes: a crash in between files them again, once.
  Status s;
  if (!bin_note_.empty() && marks_.find('R') != std::string::npos) s = FileInBin();
  if (!s.ok()) return s;
  // The journal is no longer needed: the temporary file keeps the records
  // (those taken in from lessons meanwhile written behind the first ones).
  if (kept_.size() > begun_at_) {
    s = temp_->Write(begun_at_, std::string_view(kept_).substr(begun_at_));
  }
  if (s.ok()) s = temp_->Truncate(kept_.size());
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
  for (std::size_t i = 0; i < marks_.size(); ++i) {
    (marks_[i] == 'K' ? kept_ : removed_).append(original_, i * file_.length, file_.length);
  }
  counts_.removed = static_cast<std::size_t>(std::count(marks_.begin(), marks_.end(), 'R'));
  counts_.kept = marks_.size() - counts_.removed;
  const std::uint64_t end = original_.size(), kept = kept_.size();
  const std::string after = Image(end);

  if (last_ == 'U') {
    if (!EachByteOneOf(now, after, original_)) return s;
    *fits = true;
    return Undo();
  }
  if (last_ == 'C') {
    const bool kept_in_place = now.size() >= kept && now.compare(0, kept, kept_) == 0;
    // Not cut while the zero byte still stands where the cut goes (a
    // lesson's record appended after the cut never begins with one).
    const bool not_cut = kept_in_place && now.size() >= end && (kept == end || now[kept] == '\0');
    if (!kept_in_place) return s;
    *fits = true;
    if (not_cut) return MoveAppendedAndCut(nullptr);
    return Done();
  }
  const std::string before = Image(state.step_from);
  if (!EachByteOneOf(now, before, after)) return s;
  *fits = true;
  std::uint64_t from = 0;
  while (from < end && before[from] == after[from]) ++from;
  // An earlier step's zero byte (the move over it lost to a power cut) can
  // stand where the record moving there begins like the one standing there:
  // the rewrite starts there at the latest.
  from = std::min<std::uint64_t>(from, now.find('\0'));
  s = WriteKept(from);
  if (s.ok()) s = MoveAppendedAndCut(nullptr);
  return s;
}

}  // namespace quillon
