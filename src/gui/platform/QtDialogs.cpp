#include "gui/platform/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "gui/platform/Encoding.h"

namespace quillon {

QString PromptText(const std::string& prompt) {
  QString text = ToQString(prompt);
  text.replace("\r\n", "\n");
  text.replace('\r', '\n');
  return text;
}

Answer QtDialogs::MessageBox(const std::string& prompt, Buttons buttons, Icon icon,
                             const Title& title) {
  if (ended_) return buttons == Buttons::kOk ? Answer::kOk : Answer::kCancel;
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
  if (ended_) return std::string();
  bool ok = false;
  QString text =
      QInputDialog::getText(QApplication::activeWindow(), ToQString(title), PromptText(prompt),
                            QLineEdit::Normal, ToQString(default_text), &ok);
  if (!ok) return std::string();
  std::optional<std::string> stored = FromQString(text);
  if (!stored) {
    // Nothing is done rather than keeping a text other than the one typed.
    MessageBox(
        "The text holds a character that cannot be stored in the files: use the letters, "
        "digits and signs of Western European languages.\r\n\r\nNothing was changed.",
        Buttons::kOk, Icon::kCritical, Title::Default());
    return std::string();
  }
  return *stored;
}

std::string QtDialogs::OpenFileName(const std::string& title, const std::string& filter) {
  if (ended_) return std::string();
  return QFileDialog::getOpenFileName(QApplication::activeWindow(), ToQString(title), QString(),
                                      ToQString(filter))
      .toStdString();
}

void QtDialogs::Beep() { QApplication::beep(); }

void QtDialogs::SetBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

int QtDialogs::ShowModal(QDialog& window) {
  if (ended_) return QDialog::Rejected;
  return window.exec();
}

void QtDialogs::EndProgram(int status) {
  if (ended_) return;
  ended_ = true;
  status_ = status;
  // Every event loop of the thread leaves, the modal windows' ones included;
  // each window's caller then returns, back to main().
  QCoreApplication::exit(status);
}

}  // namespace quillon
