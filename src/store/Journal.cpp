#include "store/Journal.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "base/Text.h"

namespace quillon {
namespace {

constexpr std::string_view kMagic("\0QJ3", 4);
constexpr std::string_view kTrailerMagic("\0QJE", 4);
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

struct Header {
  char type;
  std::string name;
  long long length, kept, end, payload;
};

// The header at `at` when it is whole and well formed (its hash is checked
// with the payload, later).
std::optional<Header> ReadHeader(std::string_view bytes, std::size_t at) {
  if (at > bytes.size() || bytes.size() - at < kJournalHeaderSize) return std::nullopt;
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

// The entry of `type` that begins at `start` is followed at `at` by its
// trailer; its token goes to `*token`.
bool TrailerFits(std::string_view bytes, std::size_t at, char type, std::uint64_t start,
                 std::string* token) {
  if (at > bytes.size() || bytes.size() - at < kJournalTrailerSize) return false;
  const std::string_view t = bytes.substr(at, kJournalTrailerSize);
  if (t.substr(0, 4) != kTrailerMagic || t[4] != type || t[31] != '\n') return false;
  if (Digits(t.substr(6, 16)) != static_cast<long long>(start)) return false;
  token->assign(t.substr(23, 8));
  return true;
}

// The payload of the entry whose header `h` stands at `at`, when it and its
// trailer are whole and its hash holds.
std::optional<std::string_view> Payload(std::string_view bytes, std::size_t at, const Header& h,
                                        std::string* token) {
  const auto size = static_cast<std::size_t>(h.payload);
  const std::size_t from = at + kJournalHeaderSize;
  if (bytes.size() - from < size) return std::nullopt;
  const std::string_view p = bytes.substr(from, size);
  if (Hash({p}, bytes.substr(at, kJournalHeaderSize)) != bytes.substr(at + kHashAt, 16)) {
    return std::nullopt;
  }
  if (!TrailerFits(bytes, from + size, h.type, at, token)) return std::nullopt;
  return p;
}

bool MarksValid(std::string_view marks, std::size_t length, std::uint64_t kept) {
  const auto k = static_cast<std::uint64_t>(std::count(marks.begin(), marks.end(), 'K'));
  const auto r = static_cast<std::uint64_t>(std::count(marks.begin(), marks.end(), 'R'));
  return k + r == marks.size() && k * length == kept;
}

JournalRead Damaged(std::string* problem, const char* what) {
  *problem = what;
  return JournalRead::kDamaged;
}

// A P or W entry at the start of the file.
JournalRead ParseSingle(std::string_view bytes, const Header& h, const StoreFile& file,
                        JournalState* state, std::string* problem) {
  const auto length = static_cast<long long>(file.length);
  std::optional<std::string_view> payload = Payload(bytes, 0, h, &state->token);
  if (!payload) return Damaged(problem, "its entry is cut short or its check sum does not match");
  const std::string_view p = *payload;
  state->last = h.type;
  state->next_entry = kJournalHeaderSize + p.size() + kJournalTrailerSize;
  if (h.type == 'P') {
    const long long tag = p.size() >= 5 && p[4] == '\n' ? Digits(p.substr(0, 4)) : -1;
    const long long added = h.end - h.kept;
    const long long rest = static_cast<long long>(p.size()) - 5 - tag - added;
    if (tag < 0 || added <= 0 || added % length != 0 || rest < 0 || rest >= length) {
      return Damaged(problem, "its entry's lengths do not agree");
    }
    state->tag.assign(p.substr(5, static_cast<std::size_t>(tag)));
    state->original.assign(p.substr(5 + static_cast<std::size_t>(tag), static_cast<std::size_t>(added)));
    state->overwritten.assign(p.substr(p.size() - static_cast<std::size_t>(rest)));
    state->kept_at_begin = static_cast<std::uint64_t>(h.kept);
    return JournalRead::kJournal;
  }
  const std::size_t each = 16 + 2 * file.length;
  if (p.empty() || p.size() % each != 0) return Damaged(problem, "its entry's lengths do not agree");
  for (std::size_t at = 0; at < p.size(); at += each) {
    const long long offset = Digits(p.substr(at, 16));
    if (offset < 0 || offset % length != 0) {
      return Damaged(problem, "its entry's lengths do not agree");
    }
    state->changes.push_back(RecordChange{static_cast<std::uint64_t>(offset),
                                          std::string(p.substr(at + 16, file.length)),
                                          std::string(p.substr(at + 16 + file.length, file.length))});
  }
  return JournalRead::kJournal;
}

}  // namespace

std::string JournalHeader(char type, const StoreFile& file, std::uint64_t kept, std::uint64_t end,
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

std::string JournalTrailer(char type, std::uint64_t start, std::string_view token) {
  std::string t(kTrailerMagic);
  t += type;
  t += ' ';
  t += ZeroPad(static_cast<long long>(start), 16);
  t += ' ';
  t += FixWidth(token, 8);
  t += '\n';
  return t;
}

std::string JournalEntry(char type, const StoreFile& file, std::uint64_t kept, std::uint64_t end,
                         std::string_view payload, std::uint64_t start, std::string_view token) {
  return JournalHeader(type, file, kept, end, {payload}) + std::string(payload) +
         JournalTrailer(type, start, token);
}

std::string AppendPayload(std::string_view tag, std::string_view records,
                          std::string_view overwritten) {
  return ZeroPad(static_cast<long long>(tag.size()), 4) + "\n" + std::string(tag) +
         std::string(records) + std::string(overwritten);
}

std::string ChangePayload(const std::vector<RecordChange>& changes) {
  std::string out;
  for (const RecordChange& c : changes) {
    out += ZeroPad(static_cast<long long>(c.offset), 16) + c.now + c.before;
  }
  return out;
}

bool EndsWithJournalEntry(std::string_view tail) {
  if (tail.size() < kJournalTrailerSize) return false;
  const std::string_view t = tail.substr(tail.size() - kJournalTrailerSize);
  return t.substr(0, 4) == kTrailerMagic && t[31] == '\n' && Digits(t.substr(6, 16)) >= 0;
}

bool JournalIsLive(Folder& folder, const StoreFile& file) {
  std::string tail;
  return folder.ReadFileEnd(file.temp, kJournalTrailerSize, &tail).ok() &&
         EndsWithJournalEntry(tail);
}

Status LiveJournalInTheWay(const StoreFile& file) {
  return Status::Error(StatusCode::kBusy, file.temp,
                       std::string("holds the journal of a change of ") + file.main +
                           " that is not finished; it is finished first, at the next start or "
                           "command, never written over; nothing was changed");
}

JournalRead ParseJournal(std::string_view bytes, const StoreFile& file, JournalState* state,
                         std::string* problem) {
  *state = JournalState();
  problem->clear();
  const std::size_t at = bytes.find('\0');
  if (at == std::string_view::npos) return JournalRead::kNone;
  const std::size_t length = file.length;
  std::optional<Header> b = ReadHeader(bytes, at);
  if (!b) return Damaged(problem, "its first entry is cut short or malformed");
  if (b->name != file.main) return Damaged(problem, "it belongs to another file");
  if (static_cast<std::size_t>(b->length) != length) {
    return Damaged(problem, "its record length is wrong");
  }
  if ((b->type == 'P' || b->type == 'W') && at == 0) {
    return ParseSingle(bytes, *b, file, state, problem);
  }
  if (b->type != 'B') return Damaged(problem, "it does not begin with a removal's first entry");
  const auto end = static_cast<std::uint64_t>(b->end);
  std::uint64_t kept = static_cast<std::uint64_t>(b->kept);
  const std::uint64_t records_part = end / length + end - kept;
  if (end % length != 0 || kept != at || static_cast<std::uint64_t>(b->payload) < records_part) {
    return Damaged(problem, "its first entry's lengths do not agree");
  }
  if (bytes.size() - at - kJournalHeaderSize < static_cast<std::uint64_t>(b->payload)) {
    return Damaged(problem, "its first entry is cut short");
  }
  const std::string_view payload = bytes.substr(at + kJournalHeaderSize, b->payload);
  // Hashed as written: the marks, the removed records, the bin's note.
  const std::size_t marks_size = static_cast<std::size_t>(end / length);
  if (Hash({payload.substr(0, marks_size),
            payload.substr(marks_size, static_cast<std::size_t>(records_part) - marks_size),
            payload.substr(static_cast<std::size_t>(records_part))},
           bytes.substr(at, kJournalHeaderSize),
           bytes.substr(0, at)) != bytes.substr(at + kHashAt, 16)) {
    return Damaged(problem, "its check sum does not match");
  }
  if (!TrailerFits(bytes, at + kJournalHeaderSize + payload.size(), 'B', at, &state->token)) {
    return Damaged(problem, "its first entry is cut short");
  }
  // Past the marks and the removed records, the bin's note, if any.
  const std::string_view note = payload.substr(static_cast<std::size_t>(records_part));
  if (!note.empty() && note.substr(0, 5) != "Key: ") {
    return Damaged(problem, "its first entry's lengths do not agree");
  }
  state->bin_note.assign(note);
  const std::string_view marks = payload.substr(0, marks_size);
  if (!MarksValid(marks, length, kept)) return Damaged(problem, "its record marks are wrong");
  // The records as they were read: kept ones from the front, removed ones
  // from the payload, in the order the marks give.
  state->original.reserve(end);
  for (std::size_t i = 0, k = 0, r = marks_size; i < marks.size(); ++i) {
    const std::string_view from = marks[i] == 'K' ? bytes : payload;
    std::size_t& next = marks[i] == 'K' ? k : r;
    state->original.append(from.substr(next, length));
    next += length;
  }
  state->marks.assign(marks);
  state->kept_at_begin = at;
  std::size_t next = at + kJournalHeaderSize + payload.size() + kJournalTrailerSize;

  // Later entries, while each is whole, true and follows the one before.
  while (state->last != 'U') {
    std::optional<Header> h = ReadHeader(bytes, next);
    if (!h || h->name != file.main || static_cast<std::size_t>(h->length) != length) break;
    std::string token;
    std::optional<std::string_view> p = Payload(bytes, next, *h, &token);
    if (!p) break;  // torn
    const auto new_kept = static_cast<std::uint64_t>(h->kept);
    const auto new_end = static_cast<std::uint64_t>(h->end);
    if (h->type == 'A') {
      const std::uint64_t added = new_end - std::min(new_end, state->end());
      if (new_end <= state->end() || added % length != 0 || p->size() != added + added / length ||
          new_kept < kept || !MarksValid(p->substr(added), length, new_kept - kept)) {
        break;
      }
      state->step_from = state->end();
      state->original.append(p->substr(0, added));
      state->marks.append(p->substr(added));
    } else if (h->type == 'C' || h->type == 'U') {
      if (new_kept != kept || new_end != state->end() || p->size() >= length ||
          (h->type == 'U' && !p->empty())) {
        break;
      }
      state->step_from = state->end();
      if (h->type == 'C') {
        state->fragment.assign(*p);
        state->fragment_at = kept;
      }
    } else {
      break;
    }
    state->last = h->type;
    state->token = token;
    kept = new_kept;
    next += kJournalHeaderSize + p->size() + kJournalTrailerSize;
  }
  state->next_entry = next;
  return JournalRead::kJournal;
}

}  // namespace quillon
