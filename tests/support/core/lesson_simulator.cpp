// Appends activity records to a RECORDS.DAT the way a tutoring lesson does:
// open, one write of a whole 25-byte record with O_APPEND, close; or, with
// "open" last, keeping the file open the whole time (no lease can then be
// had on it).
// usage: lesson_simulator FILE COUNT CLASS STUDENT PAUSE_MICROSECONDS [open]
// Record n (from 1) carries n in its last nine characters.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc != 6 && argc != 7) {
    std::fprintf(stderr, "usage: lesson_simulator FILE COUNT CLASS STUDENT PAUSE_US [open]\n");
    return 2;
  }
  const bool keep_open = argc == 7;
  const int held = keep_open ? ::open(argv[1], O_WRONLY | O_APPEND | O_CREAT, 0644) : -1;
  const int count = std::atoi(argv[2]);
  const int pause = std::atoi(argv[5]);
  std::string head = std::string("C1") + argv[3] + argv[4] + "0101260101";
  head.resize(16, ' ');
  for (int n = 1; n <= count; ++n) {
    char tail[16];
    std::snprintf(tail, sizeof tail, "%09d", n);
    std::string record = head + tail;
    int fd = keep_open ? held : ::open(argv[1], O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (fd < 0 || ::write(fd, record.data(), 25) != 25) return 1;
    if (!keep_open) ::close(fd);
    if (pause > 0) ::usleep(static_cast<useconds_t>(pause));
  }
  return 0;
}
