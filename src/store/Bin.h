// The bin: what every erase and deletion took away, kept in the folder
// Erased/ (where the tutoring lessons never look) so that it can be put back.
//
// One entry per erase or deletion, the file Erased/<ID>.qbn:
//   QUILLON ERASED 1\n
//   ID: 261209-233112-4f2a\n           when, then four random hex digits
//   When: 12/09/26 23:31\n
//   What: Records of Olivia Haddad, Business Math\n
//   Class: <32-byte class record>\n       none for "every class"
//   Student: <31-byte roster record>\n    one line per student it concerns
//   Group: RECORDS.DAT 25 3 <removal key>\n   file, record length, count
//   <count whole records, byte for byte>\n
//   Group: ...                             one per file records came from
// The class and roster records are those of the erase's class and students
// when it ran; they let a restore re-create them, and tell whether their
// numbers have since been given to someone else.
//
// A removal writes its group before it journals its cut (store/Removal.h),
// and takes it out again when it is undone: once the removal's journal is
// finished, every record is either still in its file or in exactly one
// entry. A group is written once per removal: its key (random, in the
// journal) tells it. A completed restore notes the entry's ID and first key
// in Erased/RESTORED, so that the same entry copied back is not restored
// twice.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Folder.h"
#include "store/StoreFiles.h"

namespace quillon {

// What an erase or deletion is, written into each of its removals' journals.
struct BinNote {
  std::string id;                     // "261209-233112-4f2a": a file name, no blanks
  std::string when;                   // "12/09/26 23:31"
  std::string what;                   // "Records of Olivia Haddad, Business Math"
  std::string classrec;               // the class's record, or empty
  std::vector<std::string> students;  // the roster records of its students
};

// The records of one file in an entry.
struct BinGroup {
  std::string file;  // "RECORDS.DAT"
  std::size_t length = 0;
  std::string key;      // the removal's key
  std::string records;  // whole records, in the order they stood
  std::size_t Count() const { return length == 0 ? 0 : records.size() / length; }
};

struct BinEntry {
  BinNote note;
  std::vector<BinGroup> groups;
  // Why the entry's file cannot be used ("its group for RECORDS.DAT holds
  // a zero byte"); empty for a whole entry. A damaged entry is listed so
  // that it can be deleted, and never restored.
  std::string damage;
  // Records taken from `file` (0 when none).
  std::size_t Count(std::string_view file) const;
};

// An ID names a file of the bin: letters, digits and hyphens only, so that
// no ID given on a command line reaches outside the folder.
bool ValidId(std::string_view id);

// The bin's entries, newest first (by ID): those that hold records, and the
// damaged ones. Finishes what is pending in the folder first.
Status ListBin(Folder& folder, std::vector<BinEntry>* entries);
// Whether the bin holds an entry, without reading any (for a button's
// state, looked at often).
Status BinHasEntries(Folder& folder, bool* any);
// Entry `id`, read without following a link and checked whole: an error
// naming it when there is none (StatusCode::kNotFound) or it is damaged
// (StatusCode::kDamaged, `entry->damage` saying why).
Status ReadBinEntry(Folder& folder, std::string_view id, BinEntry* entry);
// Removes entry `id` for good, damaged or not. Both take the folder's lock
// and finish what is pending first (a restore cut short among it), so that
// an entry whose records are partly back is never dropped half way.
Status DeleteBinEntry(Folder& folder, std::string_view id);
// Removes every entry for good.
Status EmptyBin(Folder& folder);

// The date ("12/10/26") a restore of `entry` was completed on, or empty.
Status RestoredOn(Folder& folder, const BinEntry& entry, std::string* date);
// Notes that the restore of `entry` is complete, on `date`; forced to disk.
Status NoteRestored(Folder& folder, const BinEntry& entry, std::string_view date);

// --- used by the removal -------------------------------------------------

// The note as a removal's journal holds it, and back.
std::string EncodeBinNote(const BinNote& note, std::string_view key);
bool DecodeBinNote(std::string_view text, BinNote* note, std::string* key);

// Fails, saying why and naming Erased/, when entry `note.id` could not be
// written now (the folder cannot be made, or a file made in it); changes
// nothing else.
Status CheckBinWritable(Folder& folder, const BinNote& note);
// Puts the group (`file`, `key`, `records`) into entry `note.id`, creating
// the entry when missing and replacing a group of that key there. On return
// the entry is on disk (written beside, forced, renamed over).
Status AddToBin(Folder& folder, const BinNote& note, std::string_view key, std::string_view file,
                std::size_t length, std::string_view records);
// Takes the group of `key` for `file` out of entry `id` again (a removal
// undone); an entry left without groups goes. Nothing to take is no error.
Status TakeFromBin(Folder& folder, std::string_view id, std::string_view key,
                   std::string_view file);

// Writes `pieces`, one after another, as the bin's file `name`
// ("Erased/...") in one step: beside it first (name + ".new"), forced to
// disk, then renamed over it, the folder forced.
Status WriteBinFile(Folder& folder, const std::string& name,
                    std::initializer_list<std::string_view> pieces);

// A new removal key: sixteen random hex digits.
std::string NewBinKey();

// The entry file's bytes, and back (exposed for tests and the restore).
// ParseBinEntry checks the entry whole; `*damage` (may be null) says what
// is wrong when it returns false.
std::string FormatBinEntry(const BinEntry& entry);
bool ParseBinEntry(std::string_view bytes, BinEntry* entry, std::string* damage = nullptr);

}  // namespace quillon
