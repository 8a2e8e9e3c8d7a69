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
// An entry gains a group when, and only when, the removal of that file is
// complete (the group is written from the removal's journal before its
// journal is dropped, and a removal finished later after a crash writes it
// then): so every record is either still in its file or in exactly one
// entry. A removal undone adds nothing. A group is written once: the removal
// key (random, in the journal) tells a group already there.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Folder.h"

namespace quillon {

inline constexpr char kBinFolder[] = "Erased";

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
  // Records taken from `file` (0 when none).
  std::size_t Count(std::string_view file) const;
};

// An ID names a file of the bin: letters, digits and hyphens only, so that
// no ID given on a command line reaches outside the folder.
bool ValidId(std::string_view id);

// The bin's entries that hold records, newest first (by ID).
Status ListBin(Folder& folder, std::vector<BinEntry>* entries);
// Whether the bin holds an entry, without reading any (for a button's
// state, looked at often).
Status BinHasEntries(Folder& folder, bool* any);
// Entry `id`; an error naming it when there is none or it is damaged.
Status ReadBinEntry(Folder& folder, std::string_view id, BinEntry* entry);
// Removes entry `id` for good. Both first finish any restore cut short
// (data/Restore.h), so that an entry whose records are partly back is
// never dropped half way.
Status DeleteBinEntry(Folder& folder, std::string_view id);
// Removes every entry for good.
Status EmptyBin(Folder& folder);

// --- used by the removal -------------------------------------------------

// The note as a removal's journal holds it, and back.
std::string EncodeBinNote(const BinNote& note, std::string_view key);
bool DecodeBinNote(std::string_view text, BinNote* note, std::string* key);

// Adds the group (`file`, `key`, `records`) to entry `note.id`, creating the
// entry when missing; does nothing when the entry holds that group already.
// On return the entry is on disk (written beside, forced, renamed over).
Status AddToBin(Folder& folder, const BinNote& note, std::string_view key, std::string_view file,
                std::size_t length, std::string_view records);

// Writes `pieces`, one after another, as the bin's file `name`
// ("Erased/...") in one step: beside it first (name + ".new"), forced to
// disk, then renamed over it.
Status WriteBinFile(Folder& folder, const std::string& name,
                    std::initializer_list<std::string_view> pieces);

// A new removal key: sixteen random hex digits.
std::string NewBinKey();

// The entry file's bytes, and back (exposed for tests and the restore).
std::string FormatBinEntry(const BinEntry& entry);
bool ParseBinEntry(std::string_view bytes, BinEntry* entry);

}  // namespace quillon
