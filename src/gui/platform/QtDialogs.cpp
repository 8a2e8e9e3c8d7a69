#include "gui/platform/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

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
    case Buttons::kYesNoDefaultNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::No);
      break;
    case Buttons::kYesNoCancelDefaultNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::No);
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
      if (buttons == Buttons::kYesNo || buttons == Buttons::kYesNoDefaultNo) return Answer::kNo;
      if (buttons == Buttons::kOk) return Answer::kOk;
      return Answer::kCancel;
  }
}

std::string QtDialogs::InputBox(const std::string& prompt, const std::string& title,
                                const std::string& default_text, int max_length) {
  if (ended_) return std::string();
  QInputDialog box(QApplication::activeWindow());
  box.setWindowTitle(ToQString(title));
  box.setLabelText(PromptText(prompt));
  box.setTextValue(ToQString(default_text));
  if (max_length > 0) {
    // The limit shows while typing, not as a cut name afterwards.
    if (auto* line = box.findChild<QLineEdit*>()) line->setMaxLength(max_length);
  }
  // A character beyond the single-byte ones is said in the box itself, with
  // the nearest storable spelling offered in its place: OK again keeps it.
  for (;;) {
    if (box.exec() != QDialog::Accepted) return std::string();
    std::optional<std::string> spelled;
    const QString notice = SpellingNotice(box.textValue(), &spelled);
    if (notice.isEmpty()) break;
    box.setLabelText(notice + "\n\n" + PromptText(prompt));
    if (spelled) box.setTextValue(ToQString(*spelled));
  }
  std::optional<std::string> stored = FromQString(box.textValue());
  if (!stored) return std::string();  // every character has a single-byte form by now
  return *stored;
}

std::string QtDialogs::SaveFileName(const std::string& title, const std::string& suggested,
                                    const std::string& filter) {
  if (ended_) return std::string();
  const QString path = QFileDialog::getSaveFileName(
      QApplication::activeWindow(), ToQString(title), QString::fromLocal8Bit(suggested.c_str()),
      ToQString(filter), nullptr, QFileDialog::DontConfirmOverwrite);
  return path.toLocal8Bit().toStdString();
}

std::string QtDialogs::OpenFileName(const std::string& title, const std::string& filter) {
  if (ended_) return std::string();
  return QFileDialog::getOpenFileName(QApplication::activeWindow(), ToQString(title), QString(),
                                      ToQString(filter))
      .toStdString();
}

Answer QtDialogs::QuestionWithOther(const std::string& prompt, const std::string& other,
                                    const Title& title) {
  if (ended_) return Answer::kNo;
  QMessageBox box(
      QMessageBox::NoIcon, title.is_default ? QString(kDefaultTitle) : ToQString(title.text),
      PromptText(prompt), QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
  QPushButton* third = box.addButton(ToQString(other), QMessageBox::ActionRole);
  box.setEscapeButton(QMessageBox::No);
  box.exec();
  if (box.clickedButton() == third) return Answer::kOther;
  return box.clickedButton() == box.button(QMessageBox::Yes) ? Answer::kYes : Answer::kNo;
}

std::string QtDialogs::FolderName(const std::string& title, const std::string& start) {
  if (ended_) return std::string();
  return QFileDialog::getExistingDirectory(QApplication::activeWindow(), ToQString(title),
                                           QString::fromLocal8Bit(start.c_str()))
      .toLocal8Bit()
      .toStdString();
}

bool QtDialogs::PrintDialog(QPrinter& printer) {
  if (ended_) return false;
  QPrintDialog dialog(&printer, QApplication::activeWindow());
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  dialog.setMinMax(1, 9999);  // how many pages a report has is known once it is printed
  return dialog.exec() == QDialog::Accepted && !ended_;
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
