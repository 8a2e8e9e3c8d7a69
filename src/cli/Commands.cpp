#include "cli/Commands.h"

#include "cli/CommandExit.h"
#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "store/Pending.h"

namespace quillon {

int RunCli(const std::vector<std::string>& args, const CliEnvironment& environment,
           std::ostream& out, std::ostream& err) {
  using namespace cli;
  CommandLine line;
  DeclareCommands(line);
  // Until --encoding is read, messages are shown as the locale shows them.
  TextEncoding encoding = environment.encoding;
  try {
    CommandLine::Parsed parsed = line.Parse(args, environment.encoding);
    if (parsed.command == nullptr) {
      out << parsed.text;
      return kExitDone;
    }
    encoding = parsed.encoding;
    Output output(out, err, encoding);
    const GlobalOptions& globals = line.globals();
    std::string problem;
    std::unique_ptr<Folder> folder = environment.open(globals.folder, &problem);
    if (!folder) throw Exit{kExitFiles, problem, globals.folder};
    // The administrator password before anything is read or changed.
    if (parsed.command->asks_password) {
      PassPasswordGate(
          *folder,
          PasswordSources{globals.password_file, environment.password, environment.terminal},
          encoding);
    }
    // What a crash left pending (a removal cut short, the machine stopped)
    // is finished before any command reads the files; a command that only
    // reads as the lessons write (watch) leaves it to the others.
    if (parsed.command->finishes_pending) {
      PendingReport finished;
      Check(RecoverFolder(*folder, &finished));
      for (const Finished& f : finished) output.Note(Describe(f));
    }
    CommandContext context{*folder, environment.clock, environment.random, output,
                           environment.pacing};
    return parsed.command->run(context);
  } catch (const Exit& e) {
    err << ErrorLine(e, encoding);
    return e.status;
  }
}

}  // namespace quillon
