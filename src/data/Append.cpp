#include "data/Append.h"

namespace quillon {

Status AppendAllOrNone(Folder& folder, const RemovalFile& file, std::string_view records,
                       const std::uint64_t* at, bool* moved) {
  std::unique_ptr<File> main, temp;
  Status s = folder.OpenFile(file.main, /*create=*/true, &main);
  std::uint64_t size = 0;
  if (s.ok()) s = main->Size(&size);
  const std::uint64_t whole = size / file.length * file.length;
  if (moved != nullptr) *moved = s.ok() && at != nullptr && *at != whole;
  if (moved != nullptr && *moved) return s;
  std::string tail;
  if (s.ok() && whole < size) s = main->Read(whole, static_cast<std::size_t>(size - whole), &tail);
  bool created = false;
  if (s.ok()) s = folder.OpenPrivateFile(file.temp, &temp, &created);
  if (!s.ok()) return s;
  const std::string entry =
      JournalEntry('P', file, whole, whole + records.size(), std::string(records) + tail);
  s = temp->Write(0, entry);
  if (s.ok()) s = temp->Truncate(entry.size());
  if (s.ok()) s = temp->Sync();
  if (s.ok() && created) s = folder.SyncFolder();
  if (!s.ok()) {
    (void)temp->Truncate(0);
    return s;  // nothing was added
  }
  // Only if nothing was appended since the look (a lesson, in RECORDS.DAT).
  bool written = false;
  s = main->WriteIfSize(size, whole, records, &written);
  if (s.ok() && !written) {
    (void)temp->Truncate(0);
    if (moved != nullptr) *moved = true;
    if (moved != nullptr) return s;
    return Status::Error(file.main, "grew while records were added; nothing was added");
  }
  if (s.ok()) s = main->Sync();
  if (!s.ok()) {
    // Nothing half added: the file as it was, then the journal dropped.
    Status undo = main->Truncate(whole);
    if (undo.ok() && !tail.empty()) undo = main->Write(whole, tail);
    if (undo.ok()) undo = main->Sync();
    if (undo.ok()) (void)temp->Truncate(0);
    if (undo.ok()) return s;  // nothing was added
    return Status::Error(s.file(), s.what() +
                                       "; the addition will be undone when the program "
                                       "starts again");
  }
  // Every record is on disk. The journal's end need not be: one that comes
  // back after a power cut finds the addition complete, and is cleared.
  (void)temp->Truncate(0);
  return Status::OK();
}

Status FinishAppend(Folder& folder, const RemovalFile& file, const JournalState& state,
                    bool* fits) {
  *fits = false;
  std::unique_ptr<File> main, temp;
  Status s = folder.OpenFile(file.main, /*create=*/false, &main);
  if (s.ok()) s = folder.OpenPrivateFile(file.temp, &temp);
  std::uint64_t size = 0;
  std::string now;
  if (s.ok()) s = main->Size(&size);
  if (s.ok()) s = main->Read(0, static_cast<std::size_t>(size), &now);
  if (!s.ok()) return s;
  const std::uint64_t at = state.kept_at_begin;
  const std::string& added = state.original;
  const std::string& tail = state.marks;
  // Complete, with a lesson's records appended behind (RECORDS.DAT): done.
  const bool complete =
      now.size() >= at + added.size() && now.compare(at, added.size(), added) == 0;
  if (complete) {
    *fits = true;
    return temp->Truncate(0);
  }
  // Each byte from `at` to `to` is one the append wrote, the partial record
  // it overwrote, or a zero (torn).
  auto ours = [&](std::size_t to) {
    for (std::size_t i = at; i < to; ++i) {
      const std::size_t k = i - at;
      const bool ok = now[i] == '\0' || (k < added.size() && now[i] == added[k]) ||
                      (k < tail.size() && now[i] == tail[k]);
      if (!ok) return false;
    }
    return true;
  };
  if (now.size() < at) return s;
  if (now.size() > at + std::max(added.size(), tail.size()) || !ours(now.size())) {
    // Not only what the append could have left: a lesson appended too
    // (RECORDS.DAT, Diag.dat).
    if (now.size() >= at + added.size() && ours(at + added.size())) {
      // After the append, torn: made whole where it stands.
      *fits = true;
      s = main->Write(at, added);
      if (s.ok()) s = main->Sync();
      if (s.ok()) s = temp->Truncate(0);
      return s;
    }
    // Before it: the append never wrote (it writes only while the file
    // ends at `at`), and what stands there is a lesson's.
    if (now.find('\0', at) != std::string::npos) return s;
    *fits = true;
    return temp->Truncate(0);
  }
  *fits = true;
  if (now.compare(at, std::string::npos, added) != 0) {
    s = main->Truncate(at);
    if (s.ok() && !tail.empty()) s = main->Write(at, tail);
    if (s.ok()) s = main->Sync();
  }
  // Done either way; a journal that comes back after a power cut finds the
  // same again.
  if (s.ok()) s = temp->Truncate(0);
  return s;
}

}  // namespace quillon
