// The program folders the benchmarks run on, made once per process.
#pragma once

#include <string>

namespace quillon::bench {

// A generated folder with the largest RECORDS.DAT the format allows (32,767
// records, 20,000 of them in class 1). Made on first use, under /tmp.
const std::string& LargestFolder();

// A fresh empty folder under /tmp.
std::string EmptyFolder(const std::string& tag);

std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& bytes);

}  // namespace quillon::bench
