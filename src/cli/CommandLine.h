// quillon-cli's command line: the commands and their options, declared once
// (CommandTable.cpp) through the builders here, parsed by CLI11 in the GNU
// style (--name value, --name=value, -h/--help on every command, --version,
// "help COMMAND"), and each command's help made from the same declarations.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "base/TextEncoding.h"
#include "cli/CommandExit.h"
#include "cli/CommandOptions.h"

namespace quillon::cli {

// One option of a command, or the word it takes (a positional value).
struct OptionDecl {
  std::string name;        // "--class"; for a word, its name in the usage ("FILE")
  std::string value_name;  // "N", "all|tests|recent"; empty for a switch
  std::string help;        // what it does and what its values mean; "\n" breaks a line
  bool required = false;
  bool word = false;
  std::string missing;  // for a word: what the error says is required
  // Reads the values given, in their order (for a switch one empty text each
  // time it is given; none when it is absent), into the command's options,
  // names through `encoding`. Throws Exit (status 2) for a wrong value.
  std::function<void(const std::vector<std::string>& values, const TextEncoding& encoding)> read;
};

struct CommandDecl {
  std::string name;
  std::string summary;      // a few words, in the program's list of commands
  std::string description;  // the paragraph of its help
  std::vector<OptionDecl> options;
  bool asks_password = true;  // it shows or changes students' data
  // What a crash left pending is finished before it runs; not for a command
  // that only reads and must not wait for the lock (watch).
  bool finishes_pending = true;
  // Rules between options, run after every option is read; each throws
  // Exit (status 2) when broken.
  std::vector<std::function<void()>> checks;
  std::function<int(CommandContext&)> run;
};

// The reading of one value, shared by the builders; each throws Exit with
// status 2 and a message naming `option` and the value for a wrong one.
int ReadNumber(const std::string& option, const std::string& value, int low, int high);
ClassChoice ReadClass(const std::string& option, const std::string& value,
                      const TextEncoding& encoding);
// `option` given more than once in `values`: a wrong line for `command`.
void RequireOnce(const std::string& option, const std::vector<std::string>& values,
                 const std::string& command);

// Declares the options of one command into its options struct O.
template <typename O>
class CommandBuilder {
 public:
  CommandBuilder(CommandDecl* decl, std::shared_ptr<O> options)
      : decl_(decl), options_(std::move(options)) {}

  // --name N: a whole number from `low` to `high`.
  CommandBuilder& Number(const char* name, int O::*field, int low, int high, const char* value_name,
                         const char* help, bool required = false) {
    return Add(name, value_name, help, required,
               [=, o = options_, command = decl_->name](const std::vector<std::string>& v,
                                                        const TextEncoding&) {
                 RequireOnce(name, v, command);
                 if (!v.empty()) (*o).*field = ReadNumber(name, v[0], low, high);
               });
  }
  CommandBuilder& Number(const char* name, std::optional<int> O::*field, int low, int high,
                         const char* value_name, const char* help) {
    return Add(name, value_name, help, false,
               [=, o = options_, command = decl_->name](const std::vector<std::string>& v,
                                                        const TextEncoding&) {
                 RequireOnce(name, v, command);
                 if (!v.empty()) (*o).*field = ReadNumber(name, v[0], low, high);
               });
  }
  // --name WORD: one of `words`, each with the value it stands for.
  template <typename T>
  CommandBuilder& Choice(const char* name, T O::*field,
                         std::vector<std::pair<std::string, T>> words, const char* help) {
    std::string all;
    for (const auto& w : words) all += (all.empty() ? "" : "|") + w.first;
    return Add(name, all.c_str(), help, false,
               [=, o = options_, command = decl_->name](const std::vector<std::string>& v,
                                                        const TextEncoding&) {
                 RequireOnce(name, v, command);
                 if (v.empty()) return;
                 for (const auto& [word, value] : words) {
                   if (v[0] == word) {
                     (*o).*field = value;
                     return;
                   }
                 }
                 throw Exit{kExitCommandLine,
                            std::string(name) + " takes " + all + ", not \"" + v[0] + "\""};
               });
  }
  // --name VALUE read by `read`, which throws Exit for a wrong value.
  template <typename T>
  CommandBuilder& Value(const char* name, T O::*field, const char* value_name, const char* help,
                        std::type_identity_t<std::function<T(const std::string&)>> read) {
    return Add(name, value_name, help, false,
               [=, o = options_, command = decl_->name](const std::vector<std::string>& v,
                                                        const TextEncoding&) {
                 RequireOnce(name, v, command);
                 if (!v.empty()) (*o).*field = read(v[0]);
               });
  }
  // --name: a switch, on when given.
  CommandBuilder& Switch(const char* name, bool O::*field, const char* help) {
    return Add(name, "", help, false,
               [=, o = options_](const std::vector<std::string>& v, const TextEncoding&) {
                 if (!v.empty()) (*o).*field = true;
               });
  }
  // --json: one JSON document instead of lines.
  CommandBuilder& Json(bool O::*field) {
    return Switch("--json", field,
                  "one JSON document instead of lines (UTF-8; quillon-cli(1) describes it)");
  }
  // --class N|NAME, required: the class by its number or its name.
  CommandBuilder& Class(ClassChoice O::*field) {
    return Add("--class", "N",
               "the class: its number (1-99) or its name, as the classes command lists them", true,
               [=, o = options_, command = decl_->name](const std::vector<std::string>& v,
                                                        const TextEncoding& encoding) {
                 RequireOnce("--class", v, command);
                 if (!v.empty()) (*o).*field = ReadClass("--class", v[0], encoding);
               });
  }
  // WORD: the word the command takes, required (`what` names it in the
  // error when it is missing), kept as given.
  CommandBuilder& Word(const char* name, std::string O::*field, const char* what,
                       const char* help) {
    OptionDecl d{name, name, help, true, true, what, {}};
    d.read = [=, o = options_](const std::vector<std::string>& v, const TextEncoding&) {
      if (!v.empty()) (*o).*field = v[0];
    };
    decl_->options.push_back(std::move(d));
    return *this;
  }
  // A rule between options, checked after they are read.
  CommandBuilder& Check(std::function<void(const O&)> rule) {
    decl_->checks.push_back([rule = std::move(rule), o = options_] { rule(*o); });
    return *this;
  }
  // The command reads only: what is pending is left to the others.
  CommandBuilder& ReadingOnly() {
    decl_->finishes_pending = false;
    return *this;
  }
  // The command shows no students' data: no administrator password.
  CommandBuilder& WithoutPassword() {
    decl_->asks_password = false;
    return *this;
  }

 private:
  CommandBuilder& Add(const char* name, const char* value_name, const char* help, bool required,
                      decltype(OptionDecl::read) read) {
    decl_->options.push_back(
        OptionDecl{name, value_name, help, required, false, "", std::move(read)});
    return *this;
  }

  CommandDecl* decl_;
  std::shared_ptr<O> options_;
};

class CommandLine {
 public:
  // What the program does, for the top of its help, and what the help says
  // after its options.
  void Describe(std::string summary, std::string epilog) {
    globals_decl_.summary = std::move(summary);
    globals_decl_.description = std::move(epilog);
  }
  // The options every command takes, anywhere on the line.
  CommandBuilder<GlobalOptions> Globals() { return {&globals_decl_, globals_}; }
  const GlobalOptions& globals() const { return *globals_; }

  // A command running `run` over its options O, declared by the builder.
  template <typename O>
  CommandBuilder<O> Add(std::string name, std::string summary, std::string description,
                        int (*run)(CommandContext&, const O&)) {
    auto options = std::make_shared<O>();
    auto decl = std::make_unique<CommandDecl>();
    decl->name = std::move(name);
    decl->summary = std::move(summary);
    decl->description = std::move(description);
    decl->run = [run, options](CommandContext& context) { return run(context, *options); };
    commands_.push_back(std::move(decl));
    return {commands_.back().get(), options};
  }

  struct Parsed {
    std::string text;                                // the help or version asked for
    const CommandDecl* command = nullptr;            // or the command to run, its options read
    TextEncoding encoding = TextEncoding::Stored();  // the terminal's (--encoding)
  };
  // Parses `args` (without the program's name), `locale` being the
  // terminal's encoding, into the options structs. Throws Exit (status 2)
  // for a wrong line. Parse once.
  Parsed Parse(const std::vector<std::string>& args, const TextEncoding& locale);

  // The program's help, and one command's.
  std::string Help() const;
  std::string Help(const CommandDecl& command) const;

 private:
  const CommandDecl* Find(const std::string& name) const;

  CommandDecl globals_decl_;
  std::shared_ptr<GlobalOptions> globals_ = std::make_shared<GlobalOptions>();
  std::vector<std::unique_ptr<CommandDecl>> commands_;
};

// Every command and option of quillon-cli (CommandTable.cpp).
void DeclareCommands(CommandLine& line);

}  // namespace quillon::cli
