// quillon-cli: see Commands.h.
#include <cstdlib>
#include <iostream>

#include "cli/Commands.h"
#include "cli/ProgramFolder.h"
#include "cli/Terminal.h"
#include "cli/WatchPacing.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  quillon::SystemClock clock;
  quillon::SystemRandom random;
  quillon::cli::ControllingTerminal terminal;
  quillon::cli::SignalPacing pacing;
  const char* password = std::getenv("QUILLON_PASSWORD");
  const quillon::CliEnvironment environment{
      clock,
      random,
      quillon::OpenProgramFolder,
      quillon::TextEncoding::OfEnvironment(),
      password != nullptr ? std::optional<std::string>(password) : std::nullopt,
      &terminal,
      &pacing};
  return quillon::RunCli(args, environment, std::cout, std::cerr);
}
