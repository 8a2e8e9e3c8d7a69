// The journal a record removal keeps in its temporary file (RECORDS.TMP,
// Diag.TMP, CLASSES.TMP, STUDENTS.TMP) while it rewrites the main file in
// place, so that a removal cut short at any moment is finished later, and
// only on the file it was written for.
//
// The temporary file holds the records the main file keeps (K0 bytes, which
// hold no zero byte), then a run of entries. Each entry is a 91-byte text
// header followed by its payload:
//   0-3   "\0QJ2"          4      type: B begin, A appended, C cut, U undo
//   6-17  main file name   19-21  record length
//   23-38 K: the length of the kept records after this entry
//   40-55 E: the length of the records the removal has taken in
//   57-72 payload length   74-89  FNV-1a hash of the payload and bytes 0-72
//   90    line end         (fields are zero-padded digits, blanks between)
// B (at K0; its hash covers the kept records too) holds one mark per record
// the removal read ('K' kept, 'R' removed), then the removed records. A holds
// the whole records a lesson appended since, with their marks. C says the
// main file may have been cut to K; U says the removal is being undone.
// When the removal fills the bin, B's payload ends with the bin entry's note
// (data/Bin.h, "Key: ..."), under B's hash: a removal finished later files
// its records there, and none is ever finished without it.
// When the removal ends the temporary file is cut back to the kept records.
//
// An append of records to a file only this program writes (CLASSES.DAT,
// STUDENTS.DAT) keeps a journal of one entry, P, at the start of the
// temporary file: K is the length of the whole records before it, E that
// length with the new records; its payload is the new records, then any
// partial record that stood at K before (which the append overwrites).
//
// So the journal gives the main file's first E bytes before the removal
// ("original": every record taken in, in file order) and after it (the kept
// records over the original, a zero byte behind them), and before and after
// the step in progress; recovery applies it only to a main file whose every
// byte is one of those or zero.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "data/RemovalFiles.h"

namespace quillon {

inline constexpr std::size_t kJournalHeaderSize = 91;

// The header of an entry of `type` for `file`, with the lengths it leaves
// (`kept`, `end`), whose payload is `payload`'s pieces one after another.
// A B entry is written in three pieces (the marks, the removed records, the
// bin's note: the reader hashes them so) and its hash covers `kept_records`.
std::string JournalHeader(char type, const RemovalFile& file, std::uint64_t kept, std::uint64_t end,
                          std::initializer_list<std::string_view> payload,
                          std::string_view kept_records = {});
// A whole entry, header and payload, of a type other than B.
std::string JournalEntry(char type, const RemovalFile& file, std::uint64_t kept, std::uint64_t end,
                         std::string_view payload);

// What a journal says.
struct JournalState {
  std::string original;             // every record taken in (E bytes), in file order
  std::string marks;                // 'K' or 'R' for each of them
  std::uint64_t step_from = 0;      // E before the last entry's step (B: 0)
  char last = 'B';                  // the type of the last whole entry
  std::uint64_t next_entry = 0;     // where an entry appended next goes
  std::uint64_t kept_at_begin = 0;  // K0: where the B entry stands (P: K)
  std::string bin_note;             // the bin's note at the end of B, or empty

  std::uint64_t end() const { return original.size(); }
};

enum class JournalRead {
  kNone,     // no journal: a copy of kept records, or an empty file
  kJournal,  // a journal, read up to its last whole entry
  kDamaged,  // begins as a journal but its first entry is not whole and true
};

// Reads the bytes of `file`'s temporary file; `*problem` says what is wrong
// with a damaged one ("its check sum does not match", ...).
JournalRead ParseJournal(std::string_view bytes, const RemovalFile& file, JournalState* state,
                         std::string* problem);

// True when `bytes`, a temporary file, holds a zero byte: a journal, whole
// or not (kept records never hold one).
bool LooksLikeJournal(std::string_view bytes);

}  // namespace quillon
