#include "gui/platform/DateBoxes.h"

#include <utility>

#include "base/Text.h"
#include "gui/platform/Encoding.h"

namespace quillon {

QLineEdit* DateBox(QWidget* parent, const char* name, const char* heading) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setAccessibleName(heading);
  box->setPlaceholderText("mm/dd/yy");
  box->setMaxLength(10);
  box->setFixedWidth(box->fontMetrics().horizontalAdvance("00/00/0000") + 16);
  return box;
}

bool ReadDateBoxes(Dialogs& dialogs, QLineEdit* from, QLineEdit* to, SummaryRange* range) {
  SummaryRange typed;
  const std::pair<QLineEdit*, std::optional<int>*> boxes[] = {{from, &typed.from}, {to, &typed.to}};
  for (auto [box, day] : boxes) {
    const std::string text = Trim(FromQStringReplacing(box->text()));
    if (text.empty()) continue;
    *day = ParseSummaryDate(text);
    if (!*day) {
      dialogs.MessageBox("\"" + text +
                             "\" is not a date.\r\rEnter dates as mm/dd/yy, or leave the box empty "
                             "for no limit.",
                         Buttons::kOk, Icon::kNone, Title::Default());
      box->setFocus();
      box->selectAll();
      return false;
    }
  }
  if (typed.from && typed.to && *typed.from > *typed.to) {
    dialogs.MessageBox("The From date is after the To date.", Buttons::kOk, Icon::kNone,
                       Title::Default());
    from->setFocus();
    return false;
  }
  *range = typed;
  return true;
}

}  // namespace quillon
