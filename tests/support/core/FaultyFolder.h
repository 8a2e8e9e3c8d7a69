// A Folder that fails, or "crashes", at its k-th file operation (counting
// from 1; the operations of the files it opens count too), to prove that no
// fault at any step loses a record. A hook can run before every operation,
// for a test that has a tutoring lesson write at a chosen moment.
//
// After a crash, PowerCut models the machine losing power then, as leveldb's
// fault injection test does: every write or cut made since its file's last
// Sync is lost, kept, or kept only up to an arbitrary byte, each on its own
// (a disk writes back in its own order); only changes of a file's length
// reach the disk in the order they were made. Names are strict: a file
// made, renamed or removed since its folder's last flush (SyncFolder,
// SyncSubfolder) keeps its old name, or none, unless the power cut keeps
// that change; a folder's changes of names reach the disk in the order they
// were made.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Folder.h"

namespace quillon::testing {

// Thrown where the program would have died: nothing after it runs.
struct Crash {};

class FaultyFolder : public FolderWrapper {
 public:
  enum class Mode { kFail, kCrash };
  FaultyFolder(Folder* target, int fault_at, Mode mode)
      : FolderWrapper(target), fault_at_(fault_at), mode_(mode) {}

  // Operations seen so far.
  int operations() const { return operations_; }
  bool faulted() const { return faulted_; }
  // Runs before operation n (from 1), with the operation's name, e.g.
  // "Truncate RECORDS.DAT".
  std::function<void(int n, const std::string& what)> before;
  // Operations for which this answers true fail too (in either mode they
  // fail, never crash).
  std::function<bool(const std::string& what)> fail_if;

  bool FileExists(std::string_view name) override;
  Status ReadFile(std::string_view name, std::string* contents) override;
  // A crash in the middle of a write leaves the first half of the bytes.
  Status WriteFile(std::string_view name, std::string_view contents) override;
  Status OpenFile(std::string_view name, bool create, std::unique_ptr<File>* file,
                  bool* created = nullptr) override;
  Status RemoveFile(std::string_view name) override;
  Status PublishFile(std::string_view from, std::string_view to, bool* taken) override;
  Status SyncFolder() override;
  Status MakeFolder(std::string_view name) override;
  Status ListFolder(std::string_view name, std::vector<std::string>* names) override;
  Status SyncSubfolder(std::string_view name) override;
  Status ReplaceFile(std::string_view from, std::string_view to) override;
  Status OpenPrivateFile(std::string_view name, std::unique_ptr<File>* file,
                         bool* created = nullptr) override;
  Status ReadPrivateFile(std::string_view name, std::string* contents) override;
  Status ReadFileStart(std::string_view name, std::size_t length, std::string* bytes) override;
  Status ReadFileEnd(std::string_view name, std::size_t length, std::string* bytes) override;
  Status Lock(std::string_view name, std::chrono::milliseconds wait,
              std::unique_ptr<FolderLock>* lock) override;

  // A tutoring lesson appends `bytes` at the end of `name` (without a flush:
  // a power cut may lose the record, but never tears it).
  void LessonAppends(std::string_view name, std::string_view bytes);
  // Rewrites the files as a power cut right now would leave them: seed 0
  // loses every unsynced change (of bytes and of names), seed 1 keeps them
  // all, other seeds choose for each change of bytes at random and keep a
  // random first part of each folder's changes of names.
  //
  // Seeds from kEveryCombination on keep exactly the changes of bytes whose
  // bit is set in (seed - kEveryCombination), change i being the i-th of
  // Unsynced() (files in the order first seen, each file's changes in the
  // order made), and every change of names: run over every value below
  // 2^Unsynced(), they try every combination.
  void PowerCut(unsigned seed);
  static constexpr unsigned kEveryCombination = 1000;
  std::size_t Unsynced() const;

  // For the files: a change to file `id`, and its flush (`bytes` are then
  // on disk).
  void Changed(int id, std::uint64_t offset, std::string bytes, bool truncate);
  void Synced(int id, std::string bytes);

  // True when this operation is the one to fault (a crash throws here, a
  // write's half already written through `half` when given).
  bool Fault(const std::string& what, const std::function<void()>& half = nullptr);

 private:
  struct Change {
    std::uint64_t offset;  // a truncation's new length
    std::string bytes;
    bool truncate;
    bool whole;  // kept whole or lost, never torn
  };
  // A file's contents (an inode), whatever its names.
  struct Log {
    std::string synced;  // the file as it was at its last flush
    std::vector<Change> since;
  };
  // A change of a name in a folder, not yet on disk: `name` now names
  // file `id`, or nothing when `id` is -1.
  struct NameChange {
    std::string name;
    int id;
  };
  // Starts following `name` from what is on disk now, once.
  void Watch(const std::string& name);
  // `name` now names file `id` (-1: nothing), a change of its folder's
  // names that is not on disk until the folder's flush.
  void Named(const std::string& name, int id);
  // The file `name` names now, or -1; `create` makes a new one when none.
  int IdOf(const std::string& name, bool create);
  void FolderSynced(const std::string& folder);
  static std::string FolderOf(const std::string& name);

  std::map<int, Log> logs_;
  int next_id_ = 0;
  std::map<std::string, int> names_;    // every name followed: the file it names now, or -1
  std::map<std::string, int> durable_;  // and the file it names on disk
  std::map<std::string, std::vector<NameChange>> renames_;  // by folder, in order

  int fault_at_;
  Mode mode_;
  int operations_ = 0;
  bool faulted_ = false;
};

}  // namespace quillon::testing
