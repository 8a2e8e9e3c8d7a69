#include "platform/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <cstdlib>

#include "platform/Encoding.h"

namespace quillon {
namespace {

// The system's prompts break lines with CR or CR LF; Qt wants LF.
QString PromptText(const std::string& prompt) {
  QString text = ToQString(prompt);
  text.replace("\r\n", "\n");
  text.replace('\r', '\n');
  return text;
}

}  // namespace

Answer QtDialogs::MessageBox(const std::string& prompt, Buttons buttons, Icon icon,
                             const Title& title) {
  QMessageBox box(icon == Icon::kCritical ? QMessageBox::Critical : QMessageBox::NoIcon,
                  title.is_default ? QString(kDefaultTitle) : ToQString(title.text),
                  PromptText(prompt), QMessageBox::NoButton, QApplication::activeWindow());
  switch (buttons) {
    case Buttons::kOk:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case Buttons::kOkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case Buttons::kYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case Buttons::kYesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    case QMessageBox::Ok:
      return Answer::kOk;
    default:
      // Escape or the close control: Cancel where there is one, else the
      // harmless answer (No, or OK for a box with OK alone).
      if (buttons == Buttons::kYesNo) return Answer::kNo;
      if (buttons == Buttons::kOk) return Answer::kOk;
      return Answer::kCancel;
  }
}

std::string QtDialogs::InputBox(const std::string& prompt, const std::string& title,
                                const std::string& default_text) {
  bool ok = false;
  QString text =
      QInputDialog::getText(QApplication::activeWindow(), ToQString(title), PromptText(prompt),
                            QLineEdit::Normal, ToQString(default_text), &ok);
  return ok ? FromQStringReplacing(text) : std::string();
}

void QtDialogs::Beep() { QApplication::beep(); }

void QtDialogs::SetBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

int QtDialogs::ShowModal(QDialog& window) { return window.exec(); }

void QtDialogs::EndProgram() { std::exit(0); }

}  // namespace quillon
