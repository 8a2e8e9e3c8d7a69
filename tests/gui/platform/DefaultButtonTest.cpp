// The real message boxes: Enter and Space press the default button, which is
// No on the questions that delete or erase; Escape gives the harmless answer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "gui/platform/QtDialogs.h"

namespace quillon {
namespace {

TEST(DefaultButtonTest, EnterSpaceAndEscapeOnTheRealMessageBox) {
  struct Case {
    Buttons buttons;
    Qt::Key key;
    Answer expected;
  } cases[] = {
      {Buttons::kYesNoCancelDefaultNo, Qt::Key_Return, Answer::kNo},
      {Buttons::kYesNoCancelDefaultNo, Qt::Key_Enter, Answer::kNo},
      {Buttons::kYesNoCancelDefaultNo, Qt::Key_Space, Answer::kNo},
      {Buttons::kYesNoCancelDefaultNo, Qt::Key_Escape, Answer::kCancel},
      {Buttons::kYesNoDefaultNo, Qt::Key_Return, Answer::kNo},
      {Buttons::kYesNoDefaultNo, Qt::Key_Space, Answer::kNo},
      {Buttons::kYesNoDefaultNo, Qt::Key_Escape, Answer::kNo},
      // The other questions keep Yes first.
      {Buttons::kYesNo, Qt::Key_Return, Answer::kYes},
      {Buttons::kYesNoCancel, Qt::Key_Return, Answer::kYes},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.buttons) * 1000 + c.key);
    QtDialogs real;
    bool closed_by_key = false;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      // Space goes to the button that has the focus, the others to the box.
      QWidget* target = c.key == Qt::Key_Space ? box->focusWidget() : box;
      if (target == nullptr) target = box;
      QTest::keyClick(target, c.key);
      closed_by_key = !box->isVisible();
      if (!closed_by_key) box->done(-1);
    });
    const Answer answer = real.MessageBox("Are you sure?", c.buttons, Icon::kNone, Title::Text(""));
    EXPECT_TRUE(closed_by_key);
    EXPECT_EQ(static_cast<int>(answer), static_cast<int>(c.expected));
  }
}

}  // namespace
}  // namespace quillon
