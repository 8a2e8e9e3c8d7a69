#include "data/Bin.h"

#include <algorithm>
#include <random>

#include "base/Text.h"
#include "data/RemovalFiles.h"
#include "data/Restore.h"

namespace quillon {
namespace {

constexpr std::string_view kMagic = "QUILLON ERASED 1\n";
constexpr std::size_t kClassLength = 32, kStudentLength = 31;
constexpr char kEntrySuffix[] = ".qbn";
constexpr std::chrono::milliseconds kBinLockWait{15000};

std::string EntryName(std::string_view id) {
  return std::string(kBinFolder) + "/" + std::string(id) + kEntrySuffix;
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

// The digits of `text` as a number; -1 when it is not all digits.
long long Digits(std::string_view text) {
  if (text.empty() || text.size() > 12) return -1;
  long long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
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

Status Damaged(std::string_view name) {
  return Status::Error(std::string(name), "is not a whole entry of the bin (damaged)");
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

bool ParseBinEntry(std::string_view bytes, BinEntry* entry) {
  entry->groups.clear();
  std::size_t at = 0;
  if (!ParseHeader(bytes, &entry->note, &at)) return false;
  while (at < bytes.size()) {
    std::string line;
    if (!TextLine(bytes, &at, "Group: ", &line)) return false;
    const std::vector<std::string> words = Words(line);
    if (words.size() != 4) return false;
    BinGroup g;
    g.file = words[0];
    const long long length = Digits(words[1]), count = Digits(words[2]);
    if (length <= 0 || length > 1000 || count < 0 || words[3].empty()) return false;
    g.length = static_cast<std::size_t>(length);
    g.key = words[3];
    const auto size = static_cast<std::size_t>(count) * g.length;
    if (size / g.length != static_cast<std::size_t>(count) || at + size >= bytes.size() ||
        bytes[at + size] != '\n') {
      return false;
    }
    g.records.assign(bytes.substr(at, size));
    at += size + 1;
    entry->groups.push_back(std::move(g));
  }
  return true;
}

std::string NewBinKey() {
  std::random_device random;
  static const char kDigits[] = "0123456789abcdef";
  std::string key;
  for (int i = 0; i < 4; ++i) {
    unsigned v = random();
    for (int j = 0; j < 4; ++j, v >>= 4) key += kDigits[v & 15];
  }
  return key;
}

std::string EncodeBinNote(const BinNote& note, std::string_view key) {
  return "Key: " + std::string(key) + "\n" + FormatHeader(note);
}

bool DecodeBinNote(std::string_view text, BinNote* note, std::string* key) {
  std::size_t at = 0, end = 0;
  if (!TextLine(text, &at, "Key: ", key) || key->empty()) return false;
  return ParseHeader(text.substr(at), note, &end) && at + end == text.size();
}

Status NotInBin(std::string_view id) {
  return Status::Error(ValidId(id) ? EntryName(id) : std::string(id), "is not an entry of the bin");
}

Status ReadBinEntry(Folder& folder, std::string_view id, BinEntry* entry) {
  if (!ValidId(id)) return NotInBin(id);
  const std::string name = EntryName(id);
  if (!folder.FileExists(name)) return NotInBin(id);
  std::string bytes;
  Status s = folder.ReadFile(name, &bytes);
  if (!s.ok()) return s;
  if (!ParseBinEntry(bytes, entry) || entry->note.id != id) return Damaged(name);
  return s;
}

Status ListBin(Folder& folder, std::vector<BinEntry>* entries) {
  entries->clear();
  std::vector<std::string> names;
  Status s = folder.ListFolder(kBinFolder, &names);
  if (!s.ok()) return s;
  const std::string suffix = kEntrySuffix;
  for (const std::string& name : names) {
    if (name.size() <= suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
      continue;
    }
    BinEntry entry;
    // An entry that cannot be read is left out of the list, not lost: it
    // stays where it is for whoever looks into the folder.
    if (!ReadBinEntry(folder, name.substr(0, name.size() - suffix.size()), &entry).ok()) continue;
    if (!entry.groups.empty()) entries->push_back(std::move(entry));
  }
  std::sort(entries->begin(), entries->end(),
            [](const BinEntry& a, const BinEntry& b) { return a.note.id > b.note.id; });
  return s;
}

// Under the folder's lock, after finishing any restore cut short (whose
// entry must not be taken from under it): `change`.
template <typename Change>
Status AfterRestores(Folder& folder, Change change) {
  std::unique_ptr<FolderLock> lock;
  Status s = folder.Lock(kLockFile, kBinLockWait, &lock);
  if (s.ok()) s = FinishRestores(folder);
  if (s.ok()) s = change();
  return s;
}

Status BinHasEntries(Folder& folder, bool* any) {
  std::vector<std::string> names;
  Status s = folder.ListFolder(kBinFolder, &names);
  const std::string suffix = kEntrySuffix;
  *any = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
    return name.size() > suffix.size() &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
  });
  return s;
}

Status DeleteBinEntry(Folder& folder, std::string_view id) {
  return AfterRestores(folder, [&] {
    if (!ValidId(id) || !folder.FileExists(EntryName(id))) return NotInBin(id);
    Status s = folder.RemoveFile(EntryName(id));
    if (s.ok()) s = folder.SyncSubfolder(kBinFolder);
    return s;
  });
}

Status EmptyBin(Folder& folder) {
  return AfterRestores(folder, [&] {
    std::vector<std::string> names;
    Status s = folder.ListFolder(kBinFolder, &names);
    for (const std::string& name : names) {
      if (!s.ok()) break;
      s = folder.RemoveFile(std::string(kBinFolder) + "/" + name);
    }
    if (s.ok() && !names.empty()) s = folder.SyncSubfolder(kBinFolder);
    return s;
  });
}

Status AddToBin(Folder& folder, const BinNote& note, std::string_view key, std::string_view file,
                std::size_t length, std::string_view records) {
  if (!ValidId(note.id)) return Status::Error(note.id, "is not a name for an entry of the bin");
  const std::string name = EntryName(note.id);
  Status s = folder.MakeFolder(kBinFolder);
  std::string bytes;
  if (s.ok()) s = folder.ReadFile(name, &bytes);
  if (!s.ok()) return s;
  BinEntry entry;
  if (!bytes.empty() && ParseBinEntry(bytes, &entry)) {
    for (const BinGroup& g : entry.groups) {
      if (g.key == key && g.file == file) return Status::OK();  // written before a crash
    }
  } else {
    // Missing (the first group), or damaged: a damaged one is kept aside.
    if (!bytes.empty()) {
      bool taken = false;
      s = folder.PublishFile(name, name + ".damaged", &taken);
      if (!s.ok()) return s;
    }
    bytes = FormatHeader(note);
  }
  // The entry as it was, then the new group (its records not copied: a
  // class's can be megabytes).
  const std::string group = GroupLine(file, length, length == 0 ? 0 : records.size() / length, key);
  return WriteBinFile(folder, name, {bytes, group, records, "\n"});
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
  return s;
}

}  // namespace quillon
