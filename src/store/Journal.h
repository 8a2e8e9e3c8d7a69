// The journal the store keeps in a file's temporary file (RECORDS.TMP,
// Diag.TMP, CLASSES.TMP, STUDENTS.TMP) while it changes the main file in
// place, so that a change cut short at any moment is finished later, and
// only on the file, and the state of it, it was written for.
//
// Every entry is a 91-byte text header, its payload, and a 32-byte trailer:
//   header  0-3   "\0QJ3"          4      type (below)
//           6-17  main file name   19-21  record length
//           23-38 K: the length of the kept records after this entry
//           40-55 E: the length of the records the change has taken in
//           57-72 payload length   74-89  FNV-1a hash of the payload and bytes 0-72
//           90    line end         (fields are zero-padded digits, blanks between)
//   trailer 0-3   "\0QJE"          4      type
//           6-21  where the entry begins in the file
//           23-30 the lock token of the program that wrote it
//           31    line end
// A temporary file whose last 32 bytes are a trailer holds a live journal:
// one look at its end tells (LiveJournalAt), without reading the rest.
//
// A removal's journal begins with the records the main file keeps (K0 bytes,
// which hold no zero byte), where they stay, then its entries:
//   B (at K0; its hash covers the kept records too): one mark per record the
//     removal read ('K' kept, 'R' removed), then the removed records, then
//     the bin entry's note when the removal fills the bin (store/Bin.h).
//   A: the whole records a lesson appended since, then their marks.
//   C: the main file may now be cut to K, followed by the payload: the
//     partial record (a lesson's write in progress) that goes behind the
//     kept records. Written only once the bin holds every removed record.
//   U: the removal is being undone.
// When the removal ends the temporary file is cut back to the kept records.
//
// The other changes keep one entry at the start of the temporary file:
//   P, an append: K is the length of the whole records when it began (where
//     the records go, or, in a file the lessons append to, the least offset
//     where they may land); E = K + the records' length. Payload: the tag's
//     length (4 digits) and a line end, the tag ("restore ID N": group N of
//     a restore), the records, then the partial record that stood at K in a
//     file only this program writes (which the append writes over).
//   W, records changed in place: payload, for each change, its offset (16
//     digits), then the new record, then the old one.
//
// So the journal gives the main file's first E bytes before a removal
// ("original": every record taken in, in file order) and after it (the kept
// records over the original, a zero byte behind them), and before and after
// the step in progress; recovery applies it only to a main file whose every
// byte is one of those or zero.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "store/StoreFiles.h"

namespace quillon {

inline constexpr std::size_t kJournalHeaderSize = 91;
inline constexpr std::size_t kJournalTrailerSize = 32;

// The header of an entry of `type` for `file`, with the lengths it leaves
// (`kept`, `end`), whose payload is `payload`'s pieces one after another.
// A B entry's hash covers `kept_records` too.
std::string JournalHeader(char type, const StoreFile& file, std::uint64_t kept, std::uint64_t end,
                          std::initializer_list<std::string_view> payload,
                          std::string_view kept_records = {});
// The trailer of an entry that begins at `start`, written under `token`.
std::string JournalTrailer(char type, std::uint64_t start, std::string_view token);
// A whole entry (header, payload, trailer) of a type other than B.
std::string JournalEntry(char type, const StoreFile& file, std::uint64_t kept, std::uint64_t end,
                         std::string_view payload, std::uint64_t start, std::string_view token);

// A P entry's payload, and a W entry's, from their parts.
std::string AppendPayload(std::string_view tag, std::string_view records,
                          std::string_view overwritten);
struct RecordChange {
  std::uint64_t offset = 0;
  std::string now;     // the record as the change writes it
  std::string before;  // as it stood
};
std::string ChangePayload(const std::vector<RecordChange>& changes);

// What a journal says.
struct JournalState {
  char last = 'B';                  // the type of the last whole entry
  std::string original;             // B..U: every record taken in (E bytes), in file order;
                                    // P: the records appended
  std::string marks;                // 'K' or 'R' for each record of `original`
  std::uint64_t step_from = 0;      // E before the last entry's step (B: 0)
  std::uint64_t next_entry = 0;     // where an entry appended next goes
  std::uint64_t kept_at_begin = 0;  // K0: where the B entry stands; P: K
  std::string bin_note;             // the bin's note at the end of B, or empty
  std::string fragment;             // the last C's partial record, which goes behind the kept
  std::uint64_t fragment_at = 0;    // records: the kept length at that C
  std::string token;                // the lock token of the last entry
  std::string tag;                  // P: what the append is part of, or empty
  std::string overwritten;          // P: the partial record it writes over
  std::vector<RecordChange> changes;  // W

  std::uint64_t end() const { return original.size(); }
};

enum class JournalRead {
  kNone,     // no journal: a copy of kept records, or an empty file
  kJournal,  // a journal, read up to its last whole entry
  kDamaged,  // begins as a journal but its first entry is not whole and true
};

// Reads the bytes of `file`'s temporary file; `*problem` says what is wrong
// with a damaged one ("its check sum does not match", ...).
JournalRead ParseJournal(std::string_view bytes, const StoreFile& file, JournalState* state,
                         std::string* problem);

// True when `tail`, the last bytes of a temporary file, end with a whole
// entry's trailer: the file holds a live journal. (A journal whose last
// entry was cut short by a crash ends otherwise; its removal then shows
// in the main file, which holds a zero byte until the removal is done.)
bool EndsWithJournalEntry(std::string_view tail);

// Whether `file`'s temporary file holds a live journal, by a look at its
// last bytes. One that cannot be read as a file (a folder in its place,
// another account's) holds no journal this program could have written.
bool JournalIsLive(Folder& folder, const StoreFile& file);

// The refusal of a writer that finds a live journal where it would begin
// its own: a journal is never written over, it is finished first.
Status LiveJournalInTheWay(const StoreFile& file);

}  // namespace quillon
