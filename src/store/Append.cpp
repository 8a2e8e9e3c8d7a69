#include "store/Append.h"

#include <optional>
#include <thread>

namespace quillon {
namespace {

Status RefuseZeroByte(const StoreFile& file, std::string_view records) {
  if (records.find('\0') == std::string_view::npos) return Status::OK();
  return Status::Error(StatusCode::kRefused, file.main,
                       "the record cannot be stored: a character of its name or password would "
                       "be stored as a zero byte");
}

// Writes a journal of one entry at the start of `file.temp`, forced to disk
// with the folder's entry for a temporary file just made.
Status WriteSingleJournal(Folder& folder, const StoreFile& file, const std::string& entry,
                          std::unique_ptr<File>* temp) {
  if (JournalIsLive(folder, file)) return LiveJournalInTheWay(file);
  bool created = false;
  Status s = folder.OpenPrivateFile(file.temp, temp, &created);
  if (s.ok()) s = (*temp)->Write(0, entry);
  if (s.ok()) s = (*temp)->Truncate(entry.size());
  if (s.ok()) s = (*temp)->Sync();
  if (s.ok() && created) s = folder.SyncFolder();
  if (!s.ok() && *temp != nullptr) (void)(*temp)->Truncate(0);
  return s;
}

// The journal is done with. Its end need not reach the disk: one that
// comes back after a power cut finds its change complete, and goes again.
void DropJournal(File& temp) { (void)temp.Truncate(0); }

// The offset from `from` on (whole records) where the records `added` of
// an append stand, torn or whole: the first place holding them exactly,
// else the place where most of their bytes stand with only zero bytes
// between (a write torn by a power cut); none when they stand nowhere.
std::optional<std::uint64_t> WhereAppended(std::string_view now, std::uint64_t from,
                                           std::size_t length, std::string_view added) {
  for (std::uint64_t q = from; q + added.size() <= now.size(); q += length) {
    if (now.compare(q, added.size(), added) == 0) return q;
  }
  std::optional<std::uint64_t> best;
  long long best_score = -1;
  for (std::uint64_t q = from; q < now.size(); q += length) {
    long long score = 0;
    for (std::size_t i = 0; i < added.size() && q + i < now.size(); ++i) {
      const char c = now[q + i];
      if (c == added[i]) {
        ++score;
      } else if (c != '\0') {
        score = -1;
        break;
      }
    }
    if (score > best_score) {
      best_score = score;
      best = q;
    }
  }
  return best;
}

// Writes `records` after the whole records of `main` as it is at the
// moment of the write: in a file only this program writes, over a partial
// record at the end; in one the lessons append to, with such a record moved
// behind them, and only if nothing was appended between the look and the
// write (looked at again until then, for up to `give_up_after`; `*written`
// false when it never was).
Status WriteAtEnd(File& main, const LockToken& lock, const StoreFile& file,
                  std::string_view records, std::chrono::milliseconds give_up_after,
                  std::uint64_t* where, bool* written) {
  *written = false;
  const auto start = std::chrono::steady_clock::now();
  Status s;
  while (s.ok() && !*written && std::chrono::steady_clock::now() - start <= give_up_after) {
    std::uint64_t size = 0;
    s = main.Size(&size);
    *where = size / file.length * file.length;
    std::string fragment;
    if (s.ok() && file.lessons_append) {
      // What stands past the whole records, and past the length the look
      // gave (a share's can be out of date): a partial record goes behind
      // the new ones; anything more is looked at again.
      s = main.Read(*where, static_cast<std::size_t>(size - *where) + file.length, &fragment);
      if (s.ok() && *where + fragment.size() > size) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        continue;
      }
    }
    if (s.ok()) s = lock.StillOurs();
    if (s.ok()) s = main.WriteIfSize(size, *where, std::string(records) + fragment, written);
  }
  return s;
}

// The main file (created when missing) and the journal of a change to
// complete, and the main file's bytes now.
Status OpenForRecovery(Folder& folder, const StoreFile& file, std::unique_ptr<File>* main,
                       std::unique_ptr<File>* temp, std::string* now) {
  Status s = folder.OpenFile(file.main, /*create=*/true, main);
  if (s.ok()) s = folder.OpenPrivateFile(file.temp, temp);
  std::uint64_t size = 0;
  if (s.ok()) s = (*main)->Size(&size);
  if (s.ok()) s = (*main)->Read(0, static_cast<std::size_t>(size), now);
  return s;
}

}  // namespace

Status AppendAllOrNone(Folder& folder, const LockToken& lock, const StoreFile& file,
                       std::string_view records, std::string_view tag,
                       const AppendedAt& appended, std::uint64_t* at,
                       std::chrono::milliseconds give_up_after) {
  Status s = RefuseZeroByte(file, records);
  if (s.ok() && (records.empty() || records.size() % file.length != 0)) {
    s = Status::Error(StatusCode::kRefused, file.main, "only whole records can be added");
  }
  std::unique_ptr<File> main, temp;
  if (s.ok()) s = lock.StillOurs();
  if (s.ok()) s = folder.OpenFile(file.main, /*create=*/true, &main);
  std::uint64_t size = 0;
  if (s.ok()) s = main->Size(&size);
  if (!s.ok()) return s;
  const std::uint64_t from = size / file.length * file.length;
  // What stands past the whole records of a file only this program writes
  // (a stray partial record), which the new records go over.
  std::string stray;
  if (!file.lessons_append && size > from) s = main->Read(from, size - from, &stray);
  if (s.ok()) {
    s = WriteSingleJournal(folder, file,
                           JournalEntry('P', file, from, from + records.size(),
                                        AppendPayload(tag, records, stray), 0, lock.mark()),
                           &temp);
  }
  if (!s.ok()) return s.With("; nothing was added");
  std::uint64_t where = 0;
  bool written = false;
  if (s.ok()) s = WriteAtEnd(*main, lock, file, records, give_up_after, &where, &written);
  if (!written) {
    // Not a byte was written: nothing to complete.
    DropJournal(*temp);
    if (!s.ok()) return s.With("; nothing was added");
    return Status::Error(StatusCode::kBusy, file.main,
                         "kept growing at every look while records were added (a lesson "
                         "appends to it without pause); nothing was added");
  }
  if (s.ok()) s = main->Sync();
  if (!s.ok() && written) {
    // Nothing half added: the file as it was, where no lesson appended
    // since; else the journal completes the addition later.
    Status undo = lock.StillOurs();
    bool cut = false;
    if (undo.ok()) {
      undo = main->TruncateIfSize(where + records.size(), where + stray.size(), &cut);
    }
    if (undo.ok() && cut && !stray.empty()) undo = main->Write(where, stray);
    if (undo.ok() && cut) undo = main->Sync();
    // The journal goes for good: one that came back would add them again.
    if (undo.ok() && cut) undo = temp->Truncate(0);
    if (undo.ok() && cut) undo = temp->Sync();
    if (undo.ok() && cut) return s.With("; nothing was added");
    return s.With("; the addition is completed when the program starts again");
  }
  if (s.ok() && appended) s = appended(tag, where);
  if (!s.ok()) return s.With("; the addition is completed when the program starts again");
  if (at != nullptr) *at = where;
  DropJournal(*temp);
  return s;
}

Status FinishAppend(Folder& folder, const LockToken& lock, const StoreFile& file,
                    const JournalState& state, const AppendedAt& appended, bool* fits) {
  *fits = false;
  std::unique_ptr<File> main, temp;
  std::string now;
  Status s = OpenForRecovery(folder, file, &main, &temp, &now);
  if (!s.ok()) return s;
  const std::uint64_t from = state.kept_at_begin;
  const std::string& added = state.original;
  if (now.size() < from) return s;  // shorter than before the append: replaced
  std::optional<std::uint64_t> found = from;
  if (file.lessons_append) {
    found = WhereAppended(now, from, file.length, added);
  } else {
    // Only this program writes it: from K on, every byte is one the append
    // wrote, the partial record it writes over, or zero (torn).
    const std::string& over = state.overwritten;
    if (now.size() > from + std::max(added.size(), over.size())) return s;
    for (std::size_t i = from; i < now.size(); ++i) {
      const std::size_t k = i - from;
      const bool ours = now[i] == '\0' || (k < added.size() && now[i] == added[k]) ||
                        (k < over.size() && now[i] == over[k]);
      if (!ours) return s;
    }
  }
  *fits = true;
  std::uint64_t where = found.value_or(0);
  const bool whole = found && now.size() >= where + added.size() &&
                     now.compare(where, added.size(), added) == 0;
  s = lock.StillOurs();
  if (s.ok() && !found) {
    // Never written: appended now, as a lesson appends.
    bool written = false;
    s = WriteAtEnd(*main, lock, file, added, std::chrono::seconds(10), &where, &written);
    if (s.ok() && !written) {
      return Status::Error(StatusCode::kBusy, file.main,
                           "kept growing at every look while records were added (a lesson "
                           "appends to it without pause); the addition is completed later");
    }
  } else if (s.ok() && !whole) {
    // Torn where it stands: made whole there.
    s = main->Write(where, added);
  }
  if (s.ok() && !whole) s = main->Sync();
  if (s.ok() && appended) s = appended(state.tag, where);
  if (s.ok()) DropJournal(*temp);
  return s;
}

Status ChangeInPlace(Folder& folder, const LockToken& lock, const StoreFile& file,
                     const std::function<bool(std::string& record)>& change) {
  std::unique_ptr<File> main, temp;
  Status s = lock.StillOurs();
  if (s.ok()) s = folder.OpenFile(file.main, /*create=*/true, &main);
  std::uint64_t size = 0;
  std::string bytes;
  if (s.ok()) s = main->Size(&size);
  if (s.ok()) s = main->Read(0, static_cast<std::size_t>(size), &bytes);
  // Every change is made and checked before the first is written.
  std::vector<RecordChange> changes;
  for (std::size_t at = 0; s.ok() && at + file.length <= bytes.size(); at += file.length) {
    std::string record = bytes.substr(at, file.length);
    if (!change(record)) continue;
    record.resize(file.length, ' ');
    s = RefuseZeroByte(file, record);
    changes.push_back(RecordChange{at, std::move(record), bytes.substr(at, file.length)});
  }
  if (!s.ok() || changes.empty()) return s;
  s = WriteSingleJournal(folder, file,
                         JournalEntry('W', file, size, size, ChangePayload(changes), 0,
                                      lock.mark()),
                         &temp);
  if (!s.ok()) return s.With("; nothing was changed");
  for (std::size_t i = 0; s.ok() && i < changes.size(); ++i) {
    s = main->Write(changes[i].offset, changes[i].now);
  }
  if (s.ok()) s = main->Sync();
  if (!s.ok()) return s.With("; the change is completed when the program starts again");
  DropJournal(*temp);
  return s;
}

Status FinishChange(Folder& folder, const LockToken& lock, const StoreFile& file,
                    const JournalState& state, bool* fits) {
  *fits = false;
  std::unique_ptr<File> main, temp;
  std::string now;
  Status s = OpenForRecovery(folder, file, &main, &temp, &now);
  if (!s.ok()) return s;
  // Each record is as it was, as it becomes, or between (a torn write).
  for (const RecordChange& c : state.changes) {
    if (now.size() < c.offset + file.length) return s;
    for (std::size_t i = 0; i < file.length; ++i) {
      const char b = now[c.offset + i];
      if (b != c.now[i] && b != c.before[i]) return s;
    }
  }
  *fits = true;
  s = lock.StillOurs();
  for (std::size_t i = 0; s.ok() && i < state.changes.size(); ++i) {
    s = main->Write(state.changes[i].offset, state.changes[i].now);
  }
  if (s.ok()) s = main->Sync();
  if (s.ok()) DropJournal(*temp);
  return s;
}

Status AppendRecords(Folder& folder, const LockToken& lock, std::string_view name,
                     std::string_view records) {
  const StoreFile* file = StoreFileOf(name);
  if (file == nullptr) {
    return Status::Error(StatusCode::kRefused, std::string(name), "records cannot be added here");
  }
  return AppendAllOrNone(folder, lock, *file, records);
}

Status ChangeRecordsInPlace(Folder& folder, const LockToken& lock, std::string_view name,
                            const std::function<bool(std::string& record)>& change) {
  const StoreFile* file = StoreFileOf(name);
  if (file == nullptr) {
    return Status::Error(StatusCode::kRefused, std::string(name), "records cannot be changed here");
  }
  return ChangeInPlace(folder, lock, *file, change);
}

}  // namespace quillon
