#include "BenchFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quillon::bench {

std::string EmptyFolder(const std::string& tag) {
  std::string path = (std::filesystem::temp_directory_path() / ("quillon-bench-" + tag)).string();
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path;
}

const std::string& LargestFolder() {
  static const std::string path = [] {
    std::string dir = EmptyFolder("largest");
    std::string command = std::string(MAKE_SAMPLE_FOLDER) + " --largest --seed 3 --lessons " +
                          SAMPLE_LESSONS + " " + dir + " >/dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("make_sample_folder failed");
    return dir;
  }();
  return path;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace quillon::bench
