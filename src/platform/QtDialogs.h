// The real Dialogs: QMessageBox, QInputDialog, QDialog::exec.
#pragma once

#include "platform/Dialogs.h"

namespace quillon {

class QtDialogs : public Dialogs {
 public:
  Answer MessageBox(const std::string& prompt, Buttons buttons, Icon icon,
                    const Title& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& default_text) override;
  void Beep() override;
  void SetBusy(bool busy) override;
  int ShowModal(QDialog& window) override;
  [[noreturn]] void EndProgram() override;
};

// The platform's default message box title.
inline constexpr char kDefaultTitle[] = "Quillon";

}  // namespace quillon
