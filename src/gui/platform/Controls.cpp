#include "gui/platform/Controls.h"

#include "gui/platform/Fonts.h"
#include "gui/platform/ListBox.h"

namespace quillon {

void SetTriState(QPushButton* button, ButtonState state) {
  if (state != ButtonState::kAsItIs) button->setEnabled(state == ButtonState::kOn);
}

HeadedLists MakeHeadedLists(QWidget* parent, const char* second_heading, bool bold,
                            int visible_characters, int minimum_height) {
  HeadedLists lists;
  const char* headings[] = {"Classes", second_heading};
  for (int i = 0; i < 2; ++i) {
    lists.headings[static_cast<std::size_t>(i)] = new QLabel(headings[i], parent);
    lists.headings[static_cast<std::size_t>(i)]->setObjectName(QString("Label1%1").arg(i));
  }
  lists.classes = new RecordListBox("lstClasses", "Classes", /*sorted=*/true, parent);
  lists.second = new RecordListBox("lstStudents", second_heading, /*sorted=*/true, parent);
  for (RecordListBox* list : {lists.classes, lists.second}) {
    list->setFont(FixedPitchFont(10, bold));
    list->setMinimumSize(list->fontMetrics().horizontalAdvance(QString(visible_characters, 'M')),
                         minimum_height);
  }
  lists.headings[0]->setBuddy(lists.classes);
  lists.headings[1]->setBuddy(lists.second);
  return lists;
}

}  // namespace quillon
