#include "data/RemovalJournal.h"

#include <cstring>

#include "base/Text.h"

namespace quillon {
namespace {

constexpr std::string_view kMagic("\0QJ1", 4);
constexpr std::size_t kHashAt = 57;

// FNV-1a taken eight bytes at a step (a journal's hash covers every kept
// record, so it must cost little next to writing them).
std::uint64_t Fnv1a(std::uint64_t h, std::string_view bytes) {
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    h ^= word;
    h *= 1099511628211ull;
  }
  for (; i < bytes.size(); ++i) {
    h ^= static_cast<unsigned char>(bytes[i]);
    h *= 1099511628211ull;
  }
  return h;
}

std::string Hex16(std::uint64_t v) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out(16, '0');
  for (int i = 15; i >= 0; --i, v >>= 4) out[static_cast<std::size_t>(i)] = kDigits[v & 15];
  return out;
}

// The digits of a header field, or -1 when they are not all digits.
long long Digits(std::string_view s) {
  if (s.empty()) return -1;
  long long v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

struct Header {
  char type;
  std::uint64_t record_length, kept_end, end, payload;
};

// The header at `at`, checked against its hash with `payload_of` giving the
// payload it covers; nullopt when it is not a whole, true header.
template <typename PayloadOf>
std::optional<Header> ReadHeader(std::string_view bytes, std::size_t at, PayloadOf payload_of) {
  if (at + kJournalHeaderSize > bytes.size()) return std::nullopt;
  const std::string_view h = bytes.substr(at, kJournalHeaderSize);
  if (h.substr(0, 4) != kMagic || h[73] != '\n') return std::nullopt;
  const long long length = Digits(h.substr(6, 3)), kept_end = Digits(h.substr(10, 16)),
                  end = Digits(h.substr(27, 16)), payload = Digits(h.substr(44, 12));
  if (length <= 0 || kept_end < 0 || end < kept_end || payload < 0) return std::nullopt;
  Header header{h[4], static_cast<std::uint64_t>(length), static_cast<std::uint64_t>(kept_end),
                static_cast<std::uint64_t>(end), static_cast<std::uint64_t>(payload)};
  std::optional<std::string_view> p = payload_of(header);
  if (!p) return std::nullopt;
  const std::uint64_t hash = Fnv1a(Fnv1a(14695981039346656037ull, *p), h.substr(0, 56));
  if (h.substr(kHashAt, 16) != Hex16(hash)) return std::nullopt;
  return header;
}

}  // namespace

std::string JournalHeader(char type, std::size_t record_length, std::uint64_t kept_end,
                          std::uint64_t end, std::string_view payload) {
  std::string h(kMagic);
  h += type;
  h += ' ';
  h += ZeroPad(static_cast<long long>(record_length), 3);
  h += ' ';
  h += ZeroPad(static_cast<long long>(kept_end), 16);
  h += ' ';
  h += ZeroPad(static_cast<long long>(end), 16);
  h += ' ';
  h += ZeroPad(static_cast<long long>(payload.size()), 12);
  h += ' ';
  h += Hex16(Fnv1a(Fnv1a(14695981039346656037ull, payload), h.substr(0, 56)));
  h += '\n';
  return h;
}

std::optional<JournalState> ParseJournal(std::string_view bytes, std::size_t record_length) {
  const std::string begin_mark = std::string(kMagic) + 'B';
  for (std::size_t at = bytes.find(begin_mark); at != std::string_view::npos;
       at = bytes.find(begin_mark, at + 1)) {
    if (at % record_length != 0) continue;
    std::optional<Header> begin = ReadHeader(bytes, at, [&](const Header& h) {
      return h.payload == at && h.kept_end == at ? std::optional(bytes.substr(0, at))
                                                 : std::nullopt;
    });
    if (!begin || begin->record_length != record_length) continue;
    JournalState state;
    state.content.assign(bytes.substr(0, at));
    state.end = begin->end;
    state.begin_at = at;
    std::size_t next = at + kJournalHeaderSize;
    for (;;) {
      const std::size_t payload_at = next + kJournalHeaderSize;
      std::optional<Header> entry = ReadHeader(bytes, next, [&](const Header& h) {
        if (payload_at + h.payload > bytes.size()) return std::optional<std::string_view>();
        return std::optional(bytes.substr(payload_at, h.payload));
      });
      if (!entry || entry->record_length != record_length) break;
      if (entry->type == 'A' && entry->kept_end == state.content.size() + entry->payload) {
        state.content.append(bytes.substr(payload_at, entry->payload));
        state.zeroed = false;
      } else if (entry->type == 'Z' && entry->kept_end == state.content.size() &&
                 entry->payload == 0) {
        state.zeroed = true;
      } else {
        break;
      }
      state.end = entry->end;
      next = payload_at + entry->payload;
    }
    state.next_entry = next;
    return state;
  }
  return std::nullopt;
}

}  // namespace quillon
