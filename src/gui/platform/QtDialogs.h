// The real Dialogs: QMessageBox, QInputDialog, QDialog::exec, and the end of
// the program through the application's event loops.
#pragma once

#include <QString>

#include "gui/platform/Dialogs.h"

namespace quillon {

class QtDialogs : public Dialogs {
 public:
  Answer MessageBox(const std::string& prompt, Buttons buttons, Icon icon,
                    const Title& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& default_text, int max_length) override;
  std::string SaveFileName(const std::string& title, const std::string& suggested,
                           const std::string& filter) override;
  std::string OpenFileName(const std::string& title, const std::string& filter) override;
  Answer QuestionWithOther(const std::string& prompt, const std::string& other,
                           const Title& title) override;
  std::string FolderName(const std::string& title, const std::string& start) override;
  bool PrintDialog(QPrinter& printer) override;
  void Beep() override;
  void SetBusy(bool busy) override;
  int ShowModal(QDialog& window) override;
  // Leaves every running event loop (each modal window's exec() returns)
  // and keeps any later one from starting.
  void EndProgram(int status) override;
  bool Ended() const override { return ended_; }
  int exit_status() const { return status_; }

 private:
  bool ended_ = false;
  int status_ = kExitDone;
};

// The platform's default message box title.
inline constexpr char kDefaultTitle[] = "Quillon";

// The system's prompts break lines with CR or CR LF; Qt shows LF.
QString PromptText(const std::string& prompt);

}  // namespace quillon
