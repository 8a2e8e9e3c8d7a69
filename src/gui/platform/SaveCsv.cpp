#include "gui/platform/SaveCsv.h"

#include <QStandardPaths>

#include "gui/platform/Encoding.h"
#include "platform/SaveFile.h"

namespace quillon {

void SaveCsvFile(Dialogs& dialogs, const std::string& title, const std::string& file_name,
                 const std::string& what, const std::string& bytes) {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  // The name holds file text (a class name): as the file system spells it.
  const std::string suggested =
      (documents + "/" + ToQString(file_name)).toLocal8Bit().toStdString();
  std::string path = dialogs.SaveFileName(title, suggested, "CSV files (*.csv)");
  if (path.empty()) return;
  const std::size_t slash = path.rfind('/');
  if (path.find('.', slash == std::string::npos ? 0 : slash) == std::string::npos) path += ".csv";
  bool exists = false;
  Status s = SaveWholeFile(path, bytes, false, &exists);
  if (s.ok() && exists) {
    if (dialogs.MessageBox(path + "\r\rThis file already exists. Replace it?", Buttons::kYesNo,
                           Icon::kNone, Title::Default()) != Answer::kYes) {
      return;
    }
    s = SaveWholeFile(path, bytes, true, &exists);
  }
  if (!s.ok()) {
    dialogs.MessageBox("The " + what + " could not be saved.\r\r" + s.ToString(), Buttons::kOk,
                       Icon::kCritical, Title::Default());
    return;
  }
  dialogs.MessageBox("The " + what + " was saved to the file\r\n" + path, Buttons::kOk, Icon::kNone,
                     Title::Default());
}

}  // namespace quillon
