#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>

namespace quillon::testing {
namespace {

const char* KindName(int kind) {
  return kind == 0 ? "message box" : kind == 1 ? "input box" : "modal window";
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
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected " << KindName(kind) << ": \"" << what << "\"";
    return false;
  }
  *step = std::move(script_.front());
  script_.pop_front();
  if (step->kind != kind || step->text != what) {
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
  return s.answer;
}

std::string ScriptedDialogs::InputBox(const std::string& prompt, const std::string& title,
                                      const std::string&) {
  Step s{};
  if (!Next(Step::kInput, prompt, &s)) return std::string();
  EXPECT_EQ(s.input_title, title) << "title of: " << prompt;
  return s.typed;
}

int ScriptedDialogs::ShowModal(QDialog& window) {
  Step s{};
  if (!Next(Step::kModal, window.objectName().toStdString(), &s)) return QDialog::Rejected;
  window.setResult(0);
  window.show();
  QCoreApplication::processEvents();
  if (window.isVisible() && s.act) s.act(window);
  QCoreApplication::processEvents();
  if (window.isVisible()) window.done(QDialog::Rejected);
  return window.result();
}

void ScriptedDialogs::EndProgram() {
  ended = true;
  throw ProgramEnded{};
}

}  // namespace quillon::testing
