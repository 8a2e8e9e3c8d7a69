#include "store/Bin.h"

#include <algorithm>

#include "base/Text.h"
#include "platform/Random.h"
#include "store/Lock.h"
#include "store/Pending.h"

namespace quillon {
namespace {

constexpr std::string_view kMagic = "QUILLON ERASED 1\n";
constexpr std::size_t kClassLength = 32, kStudentLength = 31;
constexpr char kEntrySuffix[] = ".qbn";
constexpr char kRestoredLog[] = "Erased/RESTORED";

std::string EntryName(std::string_view id) {
  return std::string(kBinFolder) + "/" + std::string(id) + kEntrySuffix;
}

bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() > end.size() && s.substr(s.size() - end.size()) == end;
}

}  // namespace

bool ValidId(std::string_view id) {
  if (id.empty() || id.size() > 64) return false;
  return std::all_of(id.begin(), id.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
  });
}

namespace {

// Reads "Label: " then `length` bytes then a line end at `*at`; false when
// the bytes there are not that.
bool FixedLine(std::string_view bytes, std::size_t* at, std::string_view label, std::size_t length,
               std::string* value) {
  if (bytes.substr(*at, label.size()) != label) return false;
  const std::size_t from = *at + label.size();
  if (from + length >= bytes.size() || bytes[from + length] != '\n') return false;
  value->assign(bytes.substr(from, length));
  *at = from + length + 1;
  return true;
}

// Reads "Label: text\n" at `*at`.
bool TextLine(std::string_view bytes, std::size_t* at, std::string_view label, std::string* value) {
  if (bytes.substr(*at, label.size()) != label) return false;
  const std::size_t end = bytes.find('\n', *at);
  if (end == std::string_view::npos) return false;
  value->assign(bytes.substr(*at + label.size(), end - *at - label.size()));
  *at = end + 1;
  return true;
}

// One line of text without line ends (a description typed into a name box
// holds none, but a line end here would break the entry's layout).
std::string OneLine(std::string_view text) {
  std::string out(text);
  std::replace(out.begin(), out.end(), '\n', ' ');
  std::replace(out.begin(), out.end(), '\r', ' ');
  return out;
}

std::string FormatHeader(const BinNote& note) {
  std::string out(kMagic);
  out += "ID: " + OneLine(note.id) + "\n";
  out += "When: " + OneLine(note.when) + "\n";
  out += "What: " + OneLine(note.what) + "\n";
  if (note.classrec.size() == kClassLength) out += "Class: " + note.classrec + "\n";
  for (const std::string& s : note.students) {
    if (s.size() == kStudentLength) out += "Student: " + s + "\n";
  }
  return out;
}

// The header at the start of `bytes`; `*at` is where the groups begin.
bool ParseHeader(std::string_view bytes, BinNote* note, std::size_t* at) {
  *note = BinNote();
  if (bytes.substr(0, kMagic.size()) != kMagic) return false;
  *at = kMagic.size();
  if (!TextLine(bytes, at, "ID: ", &note->id) || !ValidId(note->id) ||
      !TextLine(bytes, at, "When: ", &note->when) || !TextLine(bytes, at, "What: ", &note->what)) {
    return false;
  }
  (void)FixedLine(bytes, at, "Class: ", kClassLength, &note->classrec);
  std::string student;
  while (FixedLine(bytes, at, "Student: ", kStudentLength, &student)) {
    note->students.push_back(student);
  }
  return true;
}

std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  for (std::size_t at = 0; at <= line.size();) {
    const std::size_t end = std::min(line.find(' ', at), line.size());
    words.emplace_back(line.substr(at, end - at));
    at = end + 1;
  }
  return words;
}

// "Group: RECORDS.DAT 25 3 <key>\n", which the group's records follow.
std::string GroupLine(std::string_view file, std::size_t length, std::size_t count,
                      std::string_view key) {
  return "Group: " + std::string(file) + " " + std::to_string(length) + " " +
         std::to_string(count) + " " + std::string(key) + "\n";
}

bool Fail(std::string* damage, std::string why) {
  if (damage != nullptr) *damage = std::move(why);
  return false;
}

// The identity a completed restore notes: the ID and the first group's key.
std::string Identity(const BinEntry& entry) {
  return entry.note.id + " " + (entry.groups.empty() ? std::string("-") : entry.groups[0].key);
}

}  // namespace

std::size_t BinEntry::Count(std::string_view file) const {
  std::size_t n = 0;
  for (const BinGroup& g : groups) {
    if (g.file == file) n += g.Count();
  }
  return n;
}

std::string FormatBinEntry(const BinEntry& entry) {
  std::string out = FormatHeader(entry.note);
  for (const BinGroup& g : entry.groups) {
    out += GroupLine(g.file, g.length, g.Count(), g.key);
    out += g.records;
    out += "\n";
  }
  return out;
}

bool ParseBinEntry(std::string_view bytes, BinEntry* entry, std::string* damage) {
  entry->groups.clear();
  entry->damage.clear();
  std::size_t at = 0;
  if (!ParseHeader(bytes, &entry->note, &at)) return Fail(damage, "its heading is not whole");
  while (at < bytes.size()) {
    std::string line;
    if (!TextLine(bytes, &at, "Group: ", &line)) return Fail(damage, "a group's line is not whole");
    const std::vector<std::string> words = Words(line);
    if (words.size() != 4) return Fail(damage, "a group's line is not whole");
    BinGroup g;
    g.file = words[0];
    const StoreFile* file = StoreFileOf(g.file);
    if (file == nullptr) return Fail(damage, "a group names " + g.file + ", not a record file");
    const long long length = Digits(words[1]), count = Digits(words[2]);
    if (length != static_cast<long long>(file->length)) {
      return Fail(damage, "its group for " + g.file + " has the wrong record length");
    }
    if (count < 0 || words[3].empty()) return Fail(damage, "a group's line is not whole");
    g.length = file->length;
    g.key = words[3];
    const auto size = static_cast<std::size_t>(count) * g.length;
    if (at + size >= bytes.size() || bytes[at + size] != '\n') {
      return Fail(damage, "its group for " + g.file + " is cut short or too long");
    }
    g.records.assign(bytes.substr(at, size));
    if (g.records.find('\0') != std::string::npos) {
      return Fail(damage, "its group for " + g.file + " holds a zero byte");
    }
    at += size + 1;
    entry->groups.push_back(std::move(g));
  }
  return true;
}

std::string NewBinKey() { return RandomHexDigits(16); }

std::string EncodeBinNote(const BinNote& note, std::string_view key) {
  return "Key: " + std::string(key) + "\n" + FormatHeader(note);
}

bool DecodeBinNote(std::string_view text, BinNote* note, std::string* key) {
  std::size_t at = 0, end = 0;
  if (!TextLine(text, &at, "Key: ", key) || key->empty()) return false;
  return ParseHeader(text.substr(at), note, &end) && at + end == text.size();
}

Status ReadBinEntry(Folder& folder, std::string_view id, BinEntry* entry) {
  *entry = BinEntry();
  auto not_there = [&] {
    return Status::Error(StatusCode::kNotFound, ValidId(id) ? EntryName(id) : std::string(id),
                         "is not an entry of the bin");
  };
  if (!ValidId(id)) return not_there();
  const std::string name = EntryName(id);
  std::string bytes;
  Status s = folder.ReadPrivateFile(name, &bytes);
  if (!s.ok()) {
    entry->damage = s.what();
    return Status::Error(StatusCode::kDamaged, s.file(), s.what());
  }
  if (bytes.empty() && !folder.FileExists(name)) return not_there();
  std::string damage;
  if (!ParseBinEntry(bytes, entry, &damage)) {
    entry->damage = damage;
  } else if (entry->note.id != id) {
    entry->damage = "it names another entry (" + entry->note.id + ")";
  }
  if (entry->damage.empty()) return s;
  entry->note.id = std::string(id);
  entry->groups.clear();
  return Status::Error(StatusCode::kDamaged, name,
                       "is not a whole entry of the bin (" + entry->damage +
                           "); it cannot be restored, and can be deleted");
}

Status ListBin(Folder& folder, std::vector<BinEntry>* entries) {
  entries->clear();
  Status s = RecoverFolder(folder);
  std::vector<std::string> names;
  if (s.ok()) s = folder.ListFolder(kBinFolder, &names);
  if (!s.ok()) return s;
  for (const std::string& name : names) {
    if (!EndsWith(name, kEntrySuffix)) continue;
    const std::string id = name.substr(0, name.size() - std::string_view(kEntrySuffix).size());
    BinEntry entry;
    const Status read = ReadBinEntry(folder, id, &entry);
    if (read.ok() && entry.groups.empty()) continue;  // begun, never given records
    if (!read.ok() && read.code() != StatusCode::kDamaged) continue;
    entries->push_back(std::move(entry));
  }
  std::sort(entries->begin(), entries->end(),
            [](const BinEntry& a, const BinEntry& b) { return a.note.id > b.note.id; });
  return s;
}

Status BinHasEntries(Folder& folder, bool* any) {
  std::vector<std::string> names;
  Status s = folder.ListFolder(kBinFolder, &names);
  *any = std::any_of(names.begin(), names.end(),
                     [&](const std::string& name) { return EndsWith(name, kEntrySuffix); });
  return s;
}

Status DeleteBinEntry(Folder& folder, std::string_view id) {
  return WithLock(folder, nullptr, [&](const LockToken&) {
    if (!ValidId(id) || !folder.FileExists(EntryName(id))) {
      return Status::Error(StatusCode::kNotFound, ValidId(id) ? EntryName(id) : std::string(id),
                           "is not an entry of the bin");
    }
    Status s = folder.RemoveFile(EntryName(id));
    if (s.ok()) s = folder.SyncSubfolder(kBinFolder);
    return s;
  });
}

Status EmptyBin(Folder& folder) {
  return WithLock(folder, nullptr, [&](const LockToken&) {
    std::vector<std::string> names;
    Status s = folder.ListFolder(kBinFolder, &names);
    bool removed = false;
    for (const std::string& name : names) {
      if (!s.ok()) break;
      // The note of completed restores stays: an entry copied back later is
      // still known.
      if (std::string(kBinFolder) + "/" + name == kRestoredLog) continue;
      s = folder.RemoveFile(std::string(kBinFolder) + "/" + name);
      removed = true;
    }
    if (s.ok() && removed) s = folder.SyncSubfolder(kBinFolder);
    return s;
  });
}

Status RestoredOn(Folder& folder, const BinEntry& entry, std::string* date) {
  date->clear();
  std::string log;
  Status s = folder.ReadPrivateFile(kRestoredLog, &log);
  const std::string identity = Identity(entry) + " ";
  for (std::size_t at = 0; s.ok() && at < log.size();) {
    const std::size_t end = std::min(log.find('\n', at), log.size());
    const std::string_view line = std::string_view(log).substr(at, end - at);
    if (end < log.size() && line.substr(0, identity.size()) == identity) {
      date->assign(line.substr(identity.size()));
    }
    at = end + 1;
  }
  return s;
}

Status NoteRestored(Folder& folder, const BinEntry& entry, std::string_view date) {
  std::string log;
  Status s = folder.ReadPrivateFile(kRestoredLog, &log);
  if (!s.ok()) return s;
  // A line cut short by a crash is dropped; each line is whole or absent.
  log.resize(log.rfind('\n') == std::string::npos ? 0 : log.rfind('\n') + 1);
  const std::string line = Identity(entry) + " " + std::string(date) + "\n";
  if (log.find(line) != std::string::npos) return s;
  return WriteBinFile(folder, kRestoredLog, {log, line});
}

Status CheckBinWritable(Folder& folder, const BinNote& note) {
  if (!ValidId(note.id)) {
    return Status::Error(StatusCode::kRefused, note.id, "is not a name for an entry of the bin");
  }
  Status s = folder.MakeFolder(kBinFolder);
  std::unique_ptr<File> probe;
  const std::string name = EntryName(note.id) + ".new";
  if (s.ok()) s = folder.OpenPrivateFile(name, &probe);
  probe.reset();
  if (s.ok()) return folder.RemoveFile(name);
  return Status::Error(s.code(), std::string(kBinFolder) + "/",
                       "the bin cannot be written (" + s.what() +
                           "), so nothing can be erased: what is erased is kept there");
}

namespace {

// Entry `name`'s bytes and groups; a missing one is empty, a damaged one is
// set aside (never written over) and taken as missing.
Status ReadForChange(Folder& folder, const std::string& name, std::string* bytes,
                     BinEntry* entry) {
  Status s = folder.ReadPrivateFile(name, bytes);
  if (!s.ok() || bytes->empty()) return s;
  if (ParseBinEntry(*bytes, entry)) return s;
  // (On disk with the entry written next; and a damaged entry that comes
  // back after a power cut is only as damaged as it was.)
  std::string aside;
  s = SetAside(folder, name, "damaged", &aside);
  bytes->clear();
  *entry = BinEntry();
  return s;
}

}  // namespace

Status AddToBin(Folder& folder, const BinNote& note, std::string_view key, std::string_view file,
                std::size_t length, std::string_view records) {
  if (!ValidId(note.id)) {
    return Status::Error(StatusCode::kRefused, note.id, "is not a name for an entry of the bin");
  }
  const std::string name = EntryName(note.id);
  Status s = folder.MakeFolder(kBinFolder);
  std::string bytes;
  BinEntry entry;
  if (s.ok()) s = ReadForChange(folder, name, &bytes, &entry);
  if (!s.ok()) return s;
  if (bytes.empty()) entry.note = note;
  // The entry as it was, without this removal's group if it was written
  // before (a removal finished after a crash), then the group (its records
  // not copied: a class's can be megabytes).
  std::vector<BinGroup> others;
  for (BinGroup& g : entry.groups) {
    if (!(g.key == key && g.file == file)) others.push_back(std::move(g));
  }
  entry.groups = std::move(others);
  const std::string group = GroupLine(file, length, length == 0 ? 0 : records.size() / length, key);
  return WriteBinFile(folder, name, {FormatBinEntry(entry), group, records, "\n"});
}

Status TakeFromBin(Folder& folder, std::string_view id, std::string_view key,
                   std::string_view file) {
  if (!ValidId(id)) return Status::OK();
  const std::string name = EntryName(id);
  std::string bytes;
  BinEntry entry;
  Status s = ReadForChange(folder, name, &bytes, &entry);
  if (!s.ok() || bytes.empty()) return s;
  const std::size_t before = entry.groups.size();
  entry.groups.erase(std::remove_if(entry.groups.begin(), entry.groups.end(),
                                    [&](const BinGroup& g) { return g.key == key && g.file == file; }),
                     entry.groups.end());
  if (entry.groups.size() == before) return s;
  if (entry.groups.empty()) {
    s = folder.RemoveFile(name);
    if (s.ok()) s = folder.SyncSubfolder(kBinFolder);
    return s;
  }
  return WriteBinFile(folder, name, {FormatBinEntry(entry)});
}

Status WriteBinFile(Folder& folder, const std::string& name,
                    std::initializer_list<std::string_view> pieces) {
  const std::string fresh = name + ".new";
  std::unique_ptr<File> out;
  Status s = folder.OpenPrivateFile(fresh, &out);
  if (s.ok()) s = out->Truncate(0);
  std::uint64_t at = 0;
  for (std::string_view piece : pieces) {
    if (s.ok()) s = out->Write(at, piece);
    at += piece.size();
  }
  if (s.ok()) s = out->Sync();
  out.reset();
  if (s.ok()) s = folder.ReplaceFile(fresh, name);
  if (s.ok()) s = folder.SyncSubfolder(kBinFolder);
  if (!s.ok()) (void)folder.RemoveFile(fresh);
  return s;
}

}  // namespace quillon
