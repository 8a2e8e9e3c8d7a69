#include "support/gui/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPrinter>

namespace quillon::testing {
namespace {

const char* KindName(int kind) {
  return kind == 0   ? "message box"
         : kind == 1 ? "input box"
         : kind == 2 ? "modal window"
         : kind == 3 ? "save-file dialog"
         : kind == 4 ? "file dialog"
         : kind == 5 ? "print dialog"
         : kind == 6 ? "question"
                     : "folder dialog";
}

// How a window is named in the script: its objectName, or for a typed
// expectation its class name.
bool Matches(const QDialog& window, const std::string& expected) {
  return window.objectName().toStdString() == expected ||
         std::string(window.metaObject()->className()) == expected;
}

}  // namespace

ScriptedDialogs::~ScriptedDialogs() {
  for (const Step& s : script_) {
    ADD_FAILURE() << "expected " << KindName(s.kind) << " never shown: \"" << s.text << "\"";
  }
}

ScriptedDialogs& ScriptedDialogs::ExpectMessage(std::string prompt, Buttons buttons, Icon icon,
                                                Title title, Answer answer) {
  Step s;
  s.kind = Step::kMessage;
  s.text = std::move(prompt);
  s.buttons = buttons;
  s.icon = icon;
  s.title = std::move(title);
  s.answer = answer;
  script_.push_back(std::move(s));
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectEnter(std::string prompt, Buttons buttons, Icon icon,
                                              Title title) {
  ExpectMessage(std::move(prompt), buttons, icon, std::move(title), Answer::kOk);
  script_.back().enter = true;
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectInput(std::string prompt, std::string title,
                                              std::string answer) {
  Step s;
  s.kind = Step::kInput;
  s.text = std::move(prompt);
  s.input_title = std::move(title);
  s.typed = std::move(answer);
  script_.push_back(std::move(s));
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectSaveFile(std::string title, std::string path) {
  Step s;
  s.kind = Step::kSaveFile;
  s.text = std::move(title);
  s.typed = std::move(path);
  script_.push_back(std::move(s));
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectFile(std::string title, std::string path) {
  Step s;
  s.kind = Step::kFile;
  s.text = std::move(title);
  s.typed = std::move(path);
  script_.push_back(std::move(s));
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectQuestion(std::string prompt, std::string other,
                                                 Answer answer) {
  Step s;
  s.kind = Step::kQuestion;
  s.text = std::move(prompt);
  s.typed = std::move(other);
  s.answer = answer;
  script_.push_back(std::move(s));
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectFolder(std::string title, std::string path) {
  Step s;
  s.kind = Step::kFolder;
  s.text = std::move(title);
  s.typed = std::move(path);
  script_.push_back(std::move(s));
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectPrintDialog(std::string path, int from, int to) {
  Step s;
  s.kind = Step::kPrint;
  s.typed = std::move(path);
  s.from = from;
  s.to = to;
  script_.push_back(std::move(s));
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectModal(std::string object_name,
                                              std::function<void(QDialog&)> act) {
  Step s;
  s.kind = Step::kModal;
  s.text = std::move(object_name);
  s.act = std::move(act);
  script_.push_back(std::move(s));
  return *this;
}

bool ScriptedDialogs::Next(Step::Kind kind, const std::string& what, Step* step) {
  if (ended) {
    ADD_FAILURE() << KindName(kind) << " \"" << what << "\" shown after the end of the program";
    return false;
  }
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected " << KindName(kind) << ": \"" << what << "\"";
    return false;
  }
  *step = std::move(script_.front());
  script_.pop_front();
  if (step->kind != kind || (kind != Step::kModal && kind != Step::kPrint && step->text != what)) {
    ADD_FAILURE() << "expected " << KindName(step->kind) << " \"" << step->text << "\", got "
                  << KindName(kind) << " \"" << what << "\"";
    return false;
  }
  return true;
}

Answer ScriptedDialogs::MessageBox(const std::string& prompt, Buttons buttons, Icon icon,
                                   const Title& title) {
  prompts.push_back(prompt);
  Step s{};
  if (!Next(Step::kMessage, prompt, &s)) return Answer::kCancel;
  EXPECT_EQ(static_cast<int>(s.buttons), static_cast<int>(buttons)) << "buttons of: " << prompt;
  EXPECT_EQ(static_cast<int>(s.icon), static_cast<int>(icon)) << "icon of: " << prompt;
  EXPECT_TRUE(s.title == title) << "title of: " << prompt << " (expected "
                                << (s.title.is_default ? "<default>" : s.title.text) << ", got "
                                << (title.is_default ? "<default>" : title.text) << ")";
  return s.enter ? DefaultAnswer(buttons) : s.answer;
}

std::string ScriptedDialogs::InputBox(const std::string& prompt, const std::string& title,
                                      const std::string&, int max_length) {
  input_limits.push_back(max_length);
  Step s{};
  if (!Next(Step::kInput, prompt, &s)) return std::string();
  EXPECT_EQ(s.input_title, title) << "title of: " << prompt;
  // A limited box takes no more than its limit of what is typed.
  if (max_length > 0 && s.typed.size() > static_cast<std::size_t>(max_length)) {
    s.typed.resize(static_cast<std::size_t>(max_length));
  }
  return s.typed;
}

std::string ScriptedDialogs::SaveFileName(const std::string& title, const std::string& suggested,
                                          const std::string&) {
  suggested_files.push_back(suggested);
  Step s{};
  if (!Next(Step::kSaveFile, title, &s)) return std::string();
  return s.typed;
}

std::string ScriptedDialogs::OpenFileName(const std::string& title, const std::string&) {
  Step s{};
  if (!Next(Step::kFile, title, &s)) return std::string();
  return s.typed;
}

Answer ScriptedDialogs::QuestionWithOther(const std::string& prompt, const std::string& other,
                                          const Title& title) {
  prompts.push_back(prompt);
  Step s{};
  if (!Next(Step::kQuestion, prompt, &s)) return Answer::kNo;
  EXPECT_EQ(s.typed, other) << "third button of: " << prompt;
  EXPECT_TRUE(title == Title::Default()) << "title of: " << prompt;
  return s.answer;
}

std::string ScriptedDialogs::FolderName(const std::string& title, const std::string&) {
  Step s{};
  if (!Next(Step::kFolder, title, &s)) return std::string();
  return s.typed;
}

bool ScriptedDialogs::PrintDialog(QPrinter& printer) {
  const std::string name = printer.docName().toStdString();
  print_dialogs.push_back(name);
  print_files.push_back(printer.outputFileName().toLocal8Bit().toStdString());
  Step s{};
  if (!Next(Step::kPrint, name, &s) || s.typed.empty()) return false;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromLocal8Bit(s.typed.c_str()));
  if (s.from > 0) {
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(s.from, s.to);
  }
  return true;
}

void ScriptedDialogs::SetBusy(bool busy) {
  busy_now = busy;
  if (busy) ++busy_calls;
}

int ScriptedDialogs::ShowModal(QDialog& window) {
  const std::string name = window.objectName().toStdString();
  Step s{};
  if (!Next(Step::kModal, name, &s)) return QDialog::Rejected;
  if (!Matches(window, s.text)) {
    ADD_FAILURE() << "expected modal window " << s.text << ", got " << name << " ("
                  << window.metaObject()->className() << ")";
    return QDialog::Rejected;
  }
  window.setResult(QDialog::Rejected);
  window.show();
  QCoreApplication::processEvents();
  if (s.act) {
    if (!window.isVisible()) {
      ADD_FAILURE() << "modal window " << s.text << " closed itself before the test could act";
    } else {
      try {
        s.act(window);
      } catch (const TestAborted&) {
        aborted_ = true;
        EndProgram(-1);
      }
    }
  }
  QCoreApplication::processEvents();
  if (window.isVisible()) window.done(QDialog::Rejected);
  return window.result();
}

void ScriptedDialogs::EndProgram(int status) {
  if (ended) return;
  ended = true;
  exit_status = status;
}

}  // namespace quillon::testing
