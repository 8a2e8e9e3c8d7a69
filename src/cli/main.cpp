// quillon-cli: see Commands.h.
#include <iostream>

#include "cli/Commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  quillon::SystemClock clock;
  return quillon::RunCli(args, clock, std::cout, std::cerr);
}
