// The journal a record removal keeps in its temporary file (RECORDS.TMP,
// Diag.TMP, CLASSES.TMP, STUDENTS.TMP) while it rewrites the main file in
// place, so that a removal cut short at any moment can be finished later.
//
// The temporary file holds, from its start:
//   the records the main file is to keep (F bytes), then the entry "begin";
//   for records a lesson appended meanwhile, an entry "append" and those of
//   them that are kept; after each change to the main file is on disk, an
//   entry "zeroed".
// Every entry has a 74-byte header (text, for a reader with a hex viewer):
//   0-3   "\0QJ1"            4     'B' begin, 'A' append, 'Z' zeroed
//   6-8   record length      10-25 F: the length the kept records fill
//   27-42 E: where the main file's records not yet taken in begin
//   44-55 payload length     57-72 hash of payload and bytes 0-55 (FNV-1a,
//                                  eight bytes at a step)
// separated by blanks and ended by a line end. The payload of "begin" is
// the kept records before it; that of "append" follows its header. When the
// removal ends the temporary file is left holding the kept records alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

inline constexpr std::size_t kJournalHeaderSize = 74;

// The header of an entry of `type` ('B', 'A' or 'Z') whose payload is
// `payload`.
std::string JournalHeader(char type, std::size_t record_length, std::uint64_t kept_end,
                          std::uint64_t end, std::string_view payload);

// What a journal says: the records the main file is to hold (its first
// `content.size()` bytes), where the records beyond them in the main file
// begin, and whether the main file was on disk as [content][zero bytes up
// to end][records appended] when the last entry was written.
struct JournalState {
  std::string content;
  std::uint64_t end = 0;
  bool zeroed = false;
  std::uint64_t next_entry = 0;  // where in the temporary file the next entry goes
  std::uint64_t begin_at = 0;    // where the "begin" entry stands (the first kept length)
};

// Reads a temporary file's bytes: the state of the last whole entry, or
// nullopt when the file holds no journal (a finished removal's copy, or a
// journal whose "begin" never reached the disk whole).
std::optional<JournalState> ParseJournal(std::string_view bytes, std::size_t record_length);

}  // namespace quillon
