#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <map>

namespace quillon::cli {
namespace {

constexpr std::size_t kWidth = 79;   // of the help's lines
constexpr std::size_t kColumn = 24;  // where an option's help begins

constexpr char kProgram[] = "quillon-cli";
constexpr char kGlobalUsage[] = "[--folder DIR]";

// `text` in lines of at most kWidth characters, each after `indent` blanks
// (the first after `first` characters already on its line); "\n" in the
// text starts a new line.
std::string Wrap(const std::string& text, std::size_t indent, std::size_t first) {
  std::string out;
  std::size_t column = first;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string paragraph = text.substr(start, end - start);
    if (start > 0) {
      out += '\n' + std::string(indent, ' ');
      column = indent;
    }
    bool line_has_word = false;
    for (std::size_t at = 0; at < paragraph.size();) {
      const std::size_t space = std::min(paragraph.find(' ', at), paragraph.size());
      const std::string word = paragraph.substr(at, space - at);
      at = space + 1;
      if (word.empty()) continue;
      if (line_has_word && column + 1 + word.size() > kWidth) {
        out += '\n' + std::string(indent, ' ');
        column = indent;
        line_has_word = false;
      }
      if (line_has_word) {
        out += ' ';
        ++column;
      }
      out += word;
      column += word.size();
      line_has_word = true;
    }
    start = end + 1;
  }
  return out;
}

// "  --class N            what it is", the help wrapped in its column.
std::string OptionLine(const std::string& label, const std::string& help) {
  std::string out = "  " + label;
  if (out.size() + 2 > kColumn) {
    out += '\n' + std::string(kColumn, ' ');
  } else {
    out += std::string(kColumn - out.size(), ' ');
  }
  return out + Wrap(help, kColumn, kColumn) + '\n';
}

std::string Label(const OptionDecl& o) {
  return o.value_name.empty() || o.word ? o.name : o.name + " " + o.value_name;
}

// "usage: quillon-cli [--folder DIR] records --class N [--student N] ...",
// wrapped under the command.
std::string Usage(const CommandDecl& c) {
  const std::string lead = std::string("usage: ") + kProgram + " " + kGlobalUsage + " " + c.name;
  std::string words;
  for (const OptionDecl& o : c.options) {
    words += (words.empty() ? "" : "\n") + (o.required ? Label(o) : "[" + Label(o) + "]");
  }
  // Each option stays whole on its line: wrap by options, not by words.
  std::string out = lead;
  std::size_t column = lead.size();
  const std::size_t indent = std::string("usage: ").size() + std::string(kProgram).size() + 1;
  std::size_t start = 0;
  while (!words.empty() && start <= words.size()) {
    std::size_t end = words.find('\n', start);
    if (end == std::string::npos) end = words.size();
    const std::string part = words.substr(start, end - start);
    if (column + 1 + part.size() > kWidth) {
      out += '\n' + std::string(indent, ' ');
      column = indent;
    } else {
      out += ' ';
      ++column;
    }
    out += part;
    column += part.size();
    start = end + 1;
  }
  return out + '\n';
}

bool LooksLikeOption(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

// A word of the line that no command or option takes: one line naming it.
Exit Unexpected(const std::string& word, const std::string& command) {
  const std::string name = word.substr(0, word.find('='));
  if (command.empty()) {
    if (LooksLikeOption(word)) return CommandLineError("unknown option '" + name + "'", "");
    return CommandLineError("unknown command '" + word + "'", "");
  }
  if (LooksLikeOption(word)) {
    return CommandLineError("unknown option '" + name + "' for " + command, command);
  }
  return CommandLineError("unexpected word '" + word + "' for " + command, command);
}

std::string Version() {
  return std::string(kProgram) + " " + QUILLON_VERSION +
         " (Quillon Student Recordkeeping System)\n"
         "Licence: GPL-3.0-or-later (GNU General Public License, version 3 or later).\n";
}

// The CLI11 options of `decl` on `app`, each keeping every value given.
void Declare(CLI::App& app, const CommandDecl& decl,
             std::map<const OptionDecl*, CLI::Option*>* by) {
  for (const OptionDecl& o : decl.options) {
    CLI::Option* option = nullptr;
    if (o.value_name.empty() && !o.word) {
      option = app.add_flag(o.name);
    } else {
      option = app.add_option(o.name);
      option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
      if (o.word) option->expected(1);
    }
    (*by)[&o] = option;
  }
}

// The values CLI11 collected for one option: for a switch one empty text
// per time it was given.
std::vector<std::string> Values(const OptionDecl& o, const CLI::Option& option) {
  if (o.value_name.empty() && !o.word) return std::vector<std::string>(option.count(), "");
  return option.results();
}

}  // namespace

Exit CommandLineError(const std::string& message, const std::string& command) {
  return Exit{kExitCommandLine, message + "; try '" + kProgram + " " +
                                    (command.empty() ? "" : command + " ") + "--help'"};
}

std::string ErrorLine(const Exit& e, const TextEncoding& encoding) {
  std::string message = e.stored_text ? encoding.Show(e.message) : e.message;
  // One line: a message's line breaks become blanks.
  std::string line;
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\r' || message[i] == '\n') {
      if (!line.empty() && line.back() != ' ') line += ' ';
      continue;
    }
    line += message[i];
  }
  return std::string(kProgram) + ": " + (e.file.empty() ? "" : e.file + ": ") + line + '\n';
}

int ReadNumber(const std::string& option, const std::string& value, int low, int high) {
  const bool digits = !value.empty() && value.size() <= 6 &&
                      value.find_first_not_of("0123456789") == std::string::npos;
  const int n = digits ? std::stoi(value) : -1;
  if (!digits || n < low || n > high) {
    throw Exit{kExitCommandLine, option + " takes a whole number from " + std::to_string(low) +
                                     " to " + std::to_string(high) + ", not \"" + value + "\""};
  }
  return n;
}

ClassChoice ReadClass(const std::string& option, const std::string& value,
                      const TextEncoding& encoding) {
  ClassChoice choice;
  // Digits are a number; a name is never only digits, and never begins with
  // "-" (an option put where the value should be).
  if (!value.empty() && value.find_first_not_of("0123456789") == std::string::npos) {
    choice.number = ReadNumber(option, value, 1, 99);
    return choice;
  }
  if (value.empty() || value[0] == '-') {
    throw Exit{
        kExitCommandLine,
        option + " takes a class number from 1 to 99 or a class name, not \"" + value + "\""};
  }
  std::string problem;
  if (!encoding.Store(value, &choice.name, &problem)) {
    throw Exit{kExitCommandLine, option + " \"" + value + "\": " + problem};
  }
  return choice;
}

void RequireOnce(const std::string& option, const std::vector<std::string>& values,
                 const std::string& command) {
  if (values.size() > 1) throw CommandLineError(option + " is given twice", command);
}

const CommandDecl* CommandLine::Find(const std::string& name) const {
  for (const auto& c : commands_) {
    if (c->name == name) return c.get();
  }
  return nullptr;
}

CommandLine::Parsed CommandLine::Parse(const std::vector<std::string>& args,
                                       const TextEncoding& locale) {
  CLI::App app{"", kProgram};
  app.allow_extras();
  app.set_help_flag("-h,--help");
  app.require_subcommand(0, 1);
  std::map<const OptionDecl*, CLI::Option*> options;
  Declare(app, globals_decl_, &options);
  CLI::Option* version = app.add_flag("--version");
  std::map<const CommandDecl*, CLI::App*> subcommands;
  for (const auto& c : commands_) {
    CLI::App* sub = app.add_subcommand(c->name);
    sub->fallthrough();
    sub->allow_extras();
    Declare(*sub, *c, &options);
    subcommands[c.get()] = sub;
  }
  CLI::App* help = app.add_subcommand("help");
  help->fallthrough();
  help->allow_extras();
  CLI::Option* help_topic = help->add_option("COMMAND")->expected(1);

  // The command given, once CLI11 has read the line.
  const auto given = [&]() -> const CommandDecl* {
    for (const auto& [decl, sub] : subcommands) {
      if (sub->parsed()) return decl;
    }
    return nullptr;
  };
  // A word before the command's name is the program's, not the command's.
  const auto owner = [&](const std::string& extra, const std::string& command) {
    const auto word = std::find_if(args.begin(), args.end(), [&](const std::string& a) {
      return a == extra || a.rfind(extra + "=", 0) == 0;
    });
    const auto name = std::find(args.begin(), args.end(), command);
    return word < name ? std::string() : command;
  };
  const auto reject_extras = [&](const std::string& command) {
    const std::vector<std::string> extras = app.remaining(true);
    if (!extras.empty()) throw Unexpected(extras.front(), owner(extras.front(), command));
  };

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  Parsed parsed;
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    const CommandDecl* command = given();
    // "-h" after a misspelt command or option names the mistake instead.
    for (const std::string& extra : app.remaining(true)) {
      if (command != nullptr && LooksLikeOption(extra)) {
        throw Unexpected(extra, owner(extra, command->name));
      }
      if (command == nullptr && !help->parsed()) throw Unexpected(extra, "");
    }
    parsed.text = command != nullptr ? Help(*command) : Help();
    return parsed;
  } catch (const CLI::ArgumentMismatch&) {
    // An option that takes a value ended the line without one.
    const std::string last = args.empty() ? "" : args.back().substr(0, args.back().find('='));
    const CommandDecl* command = given();
    throw CommandLineError(last + " needs a value", command != nullptr ? command->name : "");
  } catch (const CLI::ParseError& e) {
    throw CommandLineError(e.what(), "");
  }

  const CommandDecl* command = given();
  if (version->count() > 0) {
    parsed.text = Version();
    return parsed;
  }
  if (help->parsed()) {
    reject_extras("help");
    if (help_topic->count() == 0) {
      parsed.text = Help();
      return parsed;
    }
    const std::string topic = help_topic->results().front();
    const CommandDecl* about = Find(topic);
    if (about == nullptr) throw CommandLineError("unknown command '" + topic + "'", "");
    parsed.text = Help(*about);
    return parsed;
  }
  reject_extras(command != nullptr ? command->name : "");
  if (command == nullptr) throw CommandLineError("no command given", "");

  // The options of every command first: --encoding says how names are read.
  for (const OptionDecl& o : globals_decl_.options) o.read(Values(o, *options[&o]), locale);
  switch (globals_->encoding) {
    case EncodingChoice::kLocale:
      parsed.encoding = locale;
      break;
    case EncodingChoice::kUtf8:
      parsed.encoding = TextEncoding::Named("UTF-8");
      break;
    case EncodingChoice::kStoredBytes:
      parsed.encoding = TextEncoding::Stored();
      break;
  }
  for (const OptionDecl& o : command->options) {
    const CLI::Option& option = *options[&o];
    if (o.required && option.count() == 0) {
      throw CommandLineError((o.word ? o.missing : o.name) + " is required", command->name);
    }
    o.read(Values(o, option), parsed.encoding);
  }
  for (const auto& check : command->checks) check();
  parsed.command = command;
  return parsed;
}

std::string CommandLine::Help() const {
  std::string out = std::string("usage: ") + kProgram + " " + kGlobalUsage +
                    " COMMAND [OPTIONS]\n       " + kProgram + " help COMMAND\n\n" +
                    Wrap(globals_decl_.summary, 0, 0) + "\n\nCommands:\n";
  for (const auto& c : commands_) {
    std::string line = "  " + c->name;
    line += std::string(line.size() < 16 ? 16 - line.size() : 1, ' ');
    out += line + Wrap(c->summary, 16, 16) + '\n';
  }
  out += "  help" + std::string(10, ' ') + "the help of a command (or: COMMAND --help)\n";
  out += "\nOptions of every command, anywhere on the line:\n";
  for (const OptionDecl& o : globals_decl_.options) out += OptionLine(Label(o), o.help);
  out += OptionLine("-h, --help", "this help; with a command, the command's own");
  out += OptionLine("--version", "the version of quillon-cli");
  out += '\n' + Wrap(globals_decl_.description, 0, 0) + '\n';
  return out;
}

std::string CommandLine::Help(const CommandDecl& c) const {
  std::string out = Usage(c) + '\n' + Wrap(c.description, 0, 0) + "\n\nOptions:\n";
  for (const OptionDecl& o : c.options) out += OptionLine(Label(o), o.help);
  out += OptionLine("-h, --help", "this help");
  std::string globals;
  for (const OptionDecl& o : globals_decl_.options) {
    globals += (globals.empty() ? "" : ", ") + Label(o);
  }
  std::string footer =
      "Options of every command: " + globals + " (" + kProgram + " --help says what they do).";
  if (c.asks_password) {
    footer += " When the folder holds s3.dat, the administrator password is asked first.";
  }
  return out + '\n' + Wrap(footer, 0, 0) + '\n';
}

}  // namespace quillon::cli
