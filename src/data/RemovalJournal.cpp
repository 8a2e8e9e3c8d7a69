#include "data/RemovalJournal.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "base/Text.h"

namespace quillon {
namespace {

constexpr std::string_view kMagic("\0QJ2", 4);
constexpr std::size_t kHashAt = 74;

// FNV-1a taken eight bytes at a step, in four lanes that run side by side
// and are folded together at the end (a journal's hash covers every record
// of the file, so it must cost little next to writing them).
std::uint64_t Fnv1a(std::uint64_t h, std::string_view bytes) {
  constexpr std::uint64_t kPrime = 1099511628211ull;
  std::uint64_t lane[4] = {h, h ^ 1, h ^ 2, h ^ 3};
  std::size_t i = 0;
  for (; i + 32 <= bytes.size(); i += 32) {
    for (int k = 0; k < 4; ++k) {
      std::uint64_t word;
      std::memcpy(&word, bytes.data() + i + 8 * k, 8);
      lane[k] = (lane[k] ^ word) * kPrime;
    }
  }
  for (int k = 1; k < 4; ++k) lane[0] = (lane[0] ^ lane[k]) * kPrime;
  h = lane[0];
  for (; i < bytes.size(); ++i) {
    h ^= static_cast<unsigned char>(bytes[i]);
    h *= kPrime;
  }
  return h;
}

std::string Hex16(std::uint64_t v) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out(16, '0');
  for (int i = 15; i >= 0; --i, v >>= 4) out[static_cast<std::size_t>(i)] = kDigits[v & 15];
  return out;
}

// The hash of an entry: of the kept records (B), of its payload as the
// pieces it was written in, and of its header's first bytes.
std::string Hash(std::initializer_list<std::string_view> payload, std::string_view header,
                 std::string_view kept_records = {}) {
  std::uint64_t h = Fnv1a(14695981039346656037ull, kept_records);
  for (std::string_view piece : payload) h = Fnv1a(h, piece);
  return Hex16(Fnv1a(h, header.substr(0, kHashAt - 1)));
}

// The digits of a header field, or -1 when they are not all digits.
long long Digits(std::string_view s) {
  long long v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

struct Header {
  char type;
  std::string name;
  long long length, kept, end, payload;
};

// The header at `at` when it is whole and well formed (its hash is checked
// with the payload, later).
std::optional<Header> ReadHeader(std::string_view bytes, std::size_t at) {
  if (at + kJournalHeaderSize > bytes.size()) return std::nullopt;
  const std::string_view h = bytes.substr(at, kJournalHeaderSize);
  if (h.substr(0, 4) != kMagic || h[90] != '\n') return std::nullopt;
  Header header{h[4],
                Trim(std::string(h.substr(6, 12))),
                Digits(h.substr(19, 3)),
                Digits(h.substr(23, 16)),
                Digits(h.substr(40, 16)),
                Digits(h.substr(57, 16))};
  if (header.length <= 0 || header.kept < 0 || header.end < header.kept || header.payload < 0) {
    return std::nullopt;
  }
  return header;
}

bool MarksValid(std::string_view marks, std::size_t length, std::uint64_t kept) {
  const auto k = static_cast<std::uint64_t>(std::count(marks.begin(), marks.end(), 'K'));
  const auto r = static_cast<std::uint64_t>(std::count(marks.begin(), marks.end(), 'R'));
  return k + r == marks.size() && k * length == kept;
}

// A P entry at the start: the new records in `state->original`, the partial
// record they overwrite in `state->marks`.
JournalRead ParseAppend(std::string_view bytes, const Header& p, const RemovalFile& file,
                        JournalState* state, std::string* problem) {
  auto damaged = [&](const char* what) {
    *problem = what;
    return JournalRead::kDamaged;
  };
  if (p.name != file.main) return damaged("it belongs to another file");
  if (static_cast<std::size_t>(p.length) != file.length) {
    return damaged("its record length is wrong");
  }
  const auto length = static_cast<long long>(file.length);
  const long long added = p.end - p.kept;
  if (p.kept % length != 0 || added <= 0 || added % length != 0 || p.payload < added ||
      p.payload >= added + length) {
    return damaged("its first entry's lengths do not agree");
  }
  if (kJournalHeaderSize + static_cast<std::size_t>(p.payload) > bytes.size()) {
    return damaged("its first entry is cut short");
  }
  const std::string_view payload = bytes.substr(kJournalHeaderSize, p.payload);
  if (Hash({payload}, bytes.substr(0, kJournalHeaderSize)) != bytes.substr(kHashAt, 16)) {
    return damaged("its check sum does not match");
  }
  state->original.assign(payload.substr(0, static_cast<std::size_t>(added)));
  state->marks.assign(payload.substr(static_cast<std::size_t>(added)));
  state->kept_at_begin = static_cast<std::uint64_t>(p.kept);
  state->last = 'P';
  return JournalRead::kJournal;
}

}  // namespace

std::string JournalHeader(char type, const RemovalFile& file, std::uint64_t kept, std::uint64_t end,
                          std::initializer_list<std::string_view> payload,
                          std::string_view kept_records) {
  std::size_t size = 0;
  for (std::string_view piece : payload) size += piece.size();
  std::string h(kMagic);
  h += type;
  h += ' ';
  h += FixWidth(file.main, 12);
  h += ' ';
  h += ZeroPad(static_cast<long long>(file.length), 3);
  h += ' ';
  h += ZeroPad(static_cast<long long>(kept), 16);
  h += ' ';
  h += ZeroPad(static_cast<long long>(end), 16);
  h += ' ';
  h += ZeroPad(static_cast<long long>(size), 16);
  h += ' ';
  h += Hash(payload, h, kept_records);
  h += '\n';
  return h;
}

std::string JournalEntry(char type, const RemovalFile& file, std::uint64_t kept, std::uint64_t end,
                         std::string_view payload) {
  return JournalHeader(type, file, kept, end, {payload}) + std::string(payload);
}

bool LooksLikeJournal(std::string_view bytes) { return bytes.find('\0') != std::string_view::npos; }

JournalRead ParseJournal(std::string_view bytes, const RemovalFile& file, JournalState* state,
                         std::string* problem) {
  *state = JournalState();
  problem->clear();
  if (!LooksLikeJournal(bytes)) return JournalRead::kNone;
  const std::size_t length = file.length;
  auto damaged = [&](const char* what) {
    *problem = what;
    return JournalRead::kDamaged;
  };
  const std::size_t at = bytes.find('\0');
  std::optional<Header> b = ReadHeader(bytes, at);
  if (!b) return damaged("its first entry is cut short or malformed");
  if (b->type == 'P' && at == 0) return ParseAppend(bytes, *b, file, state, problem);
  if (b->type != 'B') return damaged("it does not begin with a removal's first entry");
  if (b->name != file.main) return damaged("it belongs to another file");
  if (static_cast<std::size_t>(b->length) != length) return damaged("its record length is wrong");
  const auto end = static_cast<std::uint64_t>(b->end);
  std::uint64_t kept = static_cast<std::uint64_t>(b->kept);
  const std::uint64_t records_part = end / length + end - kept;
  if (end % length != 0 || kept != at || static_cast<std::uint64_t>(b->payload) < records_part) {
    return damaged("its first entry's lengths do not agree");
  }
  if (at + kJournalHeaderSize + b->payload > bytes.size()) {
    return damaged("its first entry is cut short");
  }
  const std::string_view payload = bytes.substr(at + kJournalHeaderSize, b->payload);
  // Hashed as written: the marks, the removed records, the bin's note.
  const std::size_t marks_size = static_cast<std::size_t>(end / length);
  if (Hash({payload.substr(0, marks_size),
            payload.substr(marks_size, static_cast<std::size_t>(records_part) - marks_size),
            payload.substr(static_cast<std::size_t>(records_part))},
           bytes.substr(at, kJournalHeaderSize),
           bytes.substr(0, at)) != bytes.substr(at + kHashAt, 16)) {
    return damaged("its check sum does not match");
  }
  // Past the marks and the removed records, the bin's note, if any.
  const std::string_view note = payload.substr(static_cast<std::size_t>(records_part));
  if (!note.empty() && note.substr(0, 5) != "Key: ") {
    return damaged("its first entry's lengths do not agree");
  }
  state->bin_note.assign(note);
  const std::string_view marks = payload.substr(0, end / length);
  if (!MarksValid(marks, length, kept)) return damaged("its record marks are wrong");
  // The records as they were read: kept ones from the front, removed ones
  // from the payload, in the order the marks give.
  state->original.reserve(end);
  for (std::size_t i = 0, k = 0, r = end / length; i < marks.size(); ++i) {
    const std::string_view from = marks[i] == 'K' ? bytes : payload;
    std::size_t& next = marks[i] == 'K' ? k : r;
    state->original.append(from.substr(next, length));
    next += length;
  }
  state->marks.assign(marks);
  state->step_from = 0;
  state->last = 'B';
  state->kept_at_begin = at;
  std::size_t next = at + kJournalHeaderSize + payload.size();

  // Later entries, while each is whole, true and follows the one before.
  while (state->last != 'U') {
    std::optional<Header> h = ReadHeader(bytes, next);
    if (!h || h->name != file.main || static_cast<std::size_t>(h->length) != length) break;
    const auto size = static_cast<std::size_t>(h->payload);
    if (next + kJournalHeaderSize + size > bytes.size()) break;  // torn
    const std::string_view p = bytes.substr(next + kJournalHeaderSize, size);
    if (Hash({p}, bytes.substr(next, kJournalHeaderSize)) != bytes.substr(next + kHashAt, 16))
      break;
    const auto new_kept = static_cast<std::uint64_t>(h->kept);
    const auto new_end = static_cast<std::uint64_t>(h->end);
    if (h->type == 'A') {
      const std::uint64_t added = new_end - std::min(new_end, state->end());
      if (new_end <= state->end() || added % length != 0 || size != added + added / length ||
          new_kept < kept || !MarksValid(p.substr(added), length, new_kept - kept)) {
        break;
      }
      state->step_from = state->end();
      state->original.append(p.substr(0, added));
      state->marks.append(p.substr(added));
    } else if (h->type == 'C' || h->type == 'U') {
      if (size != 0 || new_kept != kept || new_end != state->end()) break;
      state->step_from = state->end();
    } else {
      break;
    }
    state->last = h->type;
    kept = new_kept;
    next += kJournalHeaderSize + size;
  }
  state->next_entry = next;
  return JournalRead::kJournal;
}

}  // namespace quillon
