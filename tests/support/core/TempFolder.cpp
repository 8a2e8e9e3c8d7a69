#include "support/core/TempFolder.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quillon::testing {
namespace {

// In memory where the system offers it (/dev/shm): the crash tests force
// files to disk tens of thousands of times, and what a power cut does to
// unflushed writes is the fault-injecting folder's to model, not the disk's.
std::filesystem::path TempRoot() {
  std::error_code ec;
  if (std::getenv("TMPDIR") == nullptr && std::filesystem::is_directory("/dev/shm", ec) &&
      ::access("/dev/shm", W_OK) == 0) {
    return "/dev/shm";
  }
  return std::filesystem::temp_directory_path();
}

std::string MakeTempDir() {
  std::string pattern = (TempRoot() / "quillon-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

}  // namespace

TempFolder::TempFolder() : path_(MakeTempDir()), folder_(path_) {}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

void TempFolder::Write(std::string_view name, std::string_view bytes) {
  std::ofstream out(path_ + "/" + std::string(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempFolder::Read(std::string_view name) {
  std::ifstream in(path_ + "/" + std::string(name), std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool TempFolder::Exists(std::string_view name) {
  return std::filesystem::exists(path_ + "/" + std::string(name));
}

}  // namespace quillon::testing
