// The keyboard and focus conventions every window shares, driven by real key
// presses in a window of each family: Enter presses the focused button (and
// nothing in a list), a list has no current item until one is selected, Tab
// enters an option group at its chosen option and leaves it in one step, the
// focus is framed clearly, and an input box stops typing at its limit.
#include <QApplication>
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QTimer>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "gui/classes/frmClasses.h"
#include "gui/classes/frmStudentName.h"
#include "gui/diagnostics/frmDiagnostics.h"
#include "gui/diagnostics/frmDisplayDiagnostics.h"
#include "gui/platform/QtDialogs.h"
#include "gui/records/frmDisplay.h"
#include "gui/records/frmStudents.h"
#include "gui/shell/frmMenu.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ClassRec;
using testing::DiagRec;
using testing::StudentRec;

const std::string kKey = "ABCDEABCDEABCDEABCDEABCDEABCDE";

class DesktopConventionsTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    dir.Write(kClassesFile, ClassRec("Algebra", "080", "1") + ClassRec("Geometry", "060", "2"));
    dir.Write(kStudentsFile, StudentRec("Grace Chen", "1", "1") +
                                 StudentRec("Grace Baker", "2", "1") +
                                 StudentRec("Ann Lee", "1", "2"));
    dir.Write(kDiagFile, DiagRec("C1", "1", "2", "091526", kKey, kKey));
  }
  // Shows `window` as the active window and gives `control` the focus, as a
  // user's Tab would.
  static void FocusOn(QWidget& window, QWidget& control) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    control.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(control.hasFocus()) << control.objectName().toStdString();
  }
  static void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
  }
  static std::string Focused() {
    QWidget* w = QApplication::focusWidget();
    return w == nullptr ? "(none)" : w->objectName().toStdString();
  }
};

TEST_F(DesktopConventionsTest, EnterPressesTheFocusedButtonInEveryWindowFamily) {
  // The menu: Enter on a menu button opens its window; there, Enter on a
  // class button asks its question, and Enter on "Return to Menu" closes it.
  frmMenu menu(services());
  menu.Form_Load();
  bool returned = false;
  dialogs.ExpectModal<frmClasses>([&](frmClasses& w) {
    auto d = Drive(w);
    FocusOn(w, d.Get("cmdClass", 0));
    dialogs.ExpectInput("Type the name of the class you would like to create:", "Create New Class",
                        "");
    Press(Qt::Key_Return);
    EXPECT_TRUE(w.isVisible());
    d.Select("lstClasses", 0);
    FocusOn(w, d.Get("lstClasses"));
    Press(Qt::Key_Return);  // in a list Enter presses nothing
    EXPECT_TRUE(w.isVisible());
    FocusOn(w, d.Get("cmdMenu"));
    Press(Qt::Key_Enter, Qt::KeypadModifier);
    returned = !w.isVisible();
  });
  FocusOn(menu, Drive(menu).Get("cmdClasses"));
  Press(Qt::Key_Return);
  EXPECT_TRUE(returned);

  // The student dialog: OK is its default button, but Enter on a focused
  // Cancel cancels.
  frmStudentName student(services());
  auto s = Drive(student);
  s.Get<QLineEdit>("Text1").setText("Grace Hopper");
  FocusOn(student, s.Get("cmdCancel"));
  Press(Qt::Key_Return);
  EXPECT_FALSE(student.isVisible());
  EXPECT_FALSE(student.Answer().has_value());

  // The diagnostics window: Enter on "Display ... All Students" shows the
  // report; Enter on its "Close" closes it.
  frmDiagnostics diagnostics(services());
  auto g = Drive(diagnostics);
  g.Select("lstClasses", 0);
  bool closed = false;
  dialogs.ExpectModal<frmDisplayDiagnostics>([&](frmDisplayDiagnostics& w) {
    FocusOn(w, Drive(w).Get("cmdOK"));
    Press(Qt::Key_Return);
    closed = !w.isVisible();
  });
  FocusOn(diagnostics, g.Get("cmdAll", 0));
  Press(Qt::Key_Return);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(DesktopConventionsTest, NoItemIsCurrentUntilTheFirstArrowKeySelectsTheFirst) {
  frmStudents window(services());
  auto d = Drive(window);
  auto& classes = d.Get<QListWidget>("lstClasses");
  FocusOn(window, classes);
  EXPECT_EQ(classes.currentRow(), -1);
  EXPECT_EQ(d.Selected("lstClasses"), -1);
  Press(Qt::Key_Down);
  EXPECT_EQ(d.Selected("lstClasses"), 0);  // Algebra, and its roster
  EXPECT_EQ(d.Shown("lstStudents"), (std::vector<std::string>{"Grace Baker", "Grace Chen"}));

  auto& roster = d.Get<QListWidget>("lstStudents");
  FocusOn(window, roster);
  EXPECT_EQ(roster.currentRow(), -1);
  EXPECT_EQ(d.States("cmdSelected", 0, 2), "000");
  Press(Qt::Key_Down);
  EXPECT_EQ(d.Selected("lstStudents"), 0);
  EXPECT_EQ(roster.currentRow(), 0);
  EXPECT_EQ(d.States("cmdSelected", 0, 2), "111");
  Press(Qt::Key_Down);
  EXPECT_EQ(d.Selected("lstStudents"), 1);  // Grace Chen only now

  // The diagnostics window's lists behave alike.
  frmDiagnostics diagnostics(services());
  auto g = Drive(diagnostics);
  g.Select("lstClasses", 0);
  auto& results = g.Get<QListWidget>("lstStudents");
  FocusOn(diagnostics, results);
  EXPECT_EQ(results.currentRow(), -1);
  EXPECT_EQ(g.States("cmdSelected", 0, 2), "000");
  Press(Qt::Key_Up);
  EXPECT_EQ(g.Selected("lstStudents"), 0);
  EXPECT_EQ(g.States("cmdSelected", 0, 2), "111");
}

TEST_F(DesktopConventionsTest, TabEntersAnOptionGroupAtItsChosenOptionAndLeavesInOneStep) {
  frmClasses window(services());
  auto d = Drive(window);
  d.Select("lstClasses", 0);  // Algebra, 80%
  ASSERT_TRUE(d.Checked("optPassingGrade", 4));
  FocusOn(window, d.Get("cmdChangePassingGrade"));
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focused(), "optPassingGrade4");
  Press(Qt::Key_Tab);
  EXPECT_EQ(Focused(), "cmdChangePassingGrade");
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focused(), "cmdPrintSlips");  // the last enabled button before the group
  Press(Qt::Key_Tab);
  EXPECT_EQ(Focused(), "optPassingGrade4");
  EXPECT_TRUE(d.Checked("optPassingGrade", 4));  // Tab chose nothing
  EXPECT_EQ(values.PassingGrade, 80);

  // The records window's data group, entered backwards from its last button.
  values.DataGroup = 2;
  frmStudents records(services());
  auto r = Drive(records);
  FocusOn(records, r.Get("cmdMenu"));
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focused(), "optDataGroup2");
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focused(), "lstStudents");

  // The display window: Tab goes from group to group, each at its choice.
  dir.Write(kRecordsFile, testing::ActRec("C1", "1", "1", "091526", "01", "51", "10", "9", "25"));
  r.Select("lstClasses", 0);
  std::vector<std::string> stops;
  dialogs.ExpectModal<frmDisplay>([&](frmDisplay& w) {
    FocusOn(w, Drive(w).Get("optDataGroup", 2));  // tests only
    for (int i = 0; i < 3; ++i) {
      Press(Qt::Key_Tab);
      stops.push_back(Focused());
    }
  });
  r.Click("cmdAll", 0);
  EXPECT_EQ(stops, (std::vector<std::string>{"optSort0", "optSortDir0", "lstRecords"}));
}

// Pixels of the highlight colour in a picture of `control`.
int HighlightPixels(QWidget& control) {
  const QImage image = control.grab().toImage();
  const QRgb highlight =
      control.palette().color(QPalette::Active, QPalette::Highlight).rgb() & 0xFFFFFF;
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) & 0xFFFFFF) == highlight;
  }
  return count;
}

TEST_F(DesktopConventionsTest, TheFocusIsFramedTwoPixelsWideInEveryKindOfControl) {
  frmClasses window(services());
  auto d = Drive(window);
  d.Select("lstClasses", 1);
  frmStudentName student(services());
  struct Case {
    QWidget* window;
    QWidget* control;
    QRect frame;  // where the focus frame goes, in the control
  } cases[] = {
      {&window, &d.Get("cmdClass", 0), {}},
      {&window, &d.Get("lstClasses"), {}},
      {&window, &d.Get("optPassingGrade", 2), {}},
      {&student, &Drive(student).Get("Text2"), {}},
  };
  for (Case& c : cases) {
    c.frame = c.control->rect();
    if (auto* option = qobject_cast<QRadioButton*>(c.control)) {
      QStyleOptionButton style;
      style.initFrom(option);
      style.text = option->text();
      c.frame = option->style()->subElementRect(QStyle::SE_RadioButtonFocusRect, &style, option);
    }
    c.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(c.window));
    d.Get("cmdMenu").setFocus();
    const int before = HighlightPixels(*c.control);
    FocusOn(*c.window, *c.control);
    const int after = HighlightPixels(*c.control);
    // A ring two pixels wide round the frame holds about 4 × (w + h).
    EXPECT_GE(after - before, 3 * (c.frame.width() + c.frame.height()))
        << c.control->objectName().toStdString() << ": " << before << " -> " << after;
  }
}

TEST_F(DesktopConventionsTest, EveryButtonHasRoomBesideItsText) {
  frmClasses classes(services());
  frmStudents records(services());
  frmDiagnostics diagnostics(services());
  frmStudentName student(services());
  for (QWidget* window :
       std::initializer_list<QWidget*>{&classes, &records, &diagnostics, &student}) {
    window->show();
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
      const QFontMetrics metrics(b->font());
      // Half a character's width at each end, beyond the text.
      EXPECT_GE(b->width(), metrics.horizontalAdvance(b->text()) + metrics.horizontalAdvance('M'))
          << b->objectName().toStdString();
    }
  }
}

TEST_F(DesktopConventionsTest, TheRealInputBoxStopsTypingAtItsLimit) {
  QtDialogs real;
  std::string shown;
  QTimer::singleShot(0, [&shown] {
    auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    auto* line = box->findChild<QLineEdit*>();
    QTest::keyClicks(line, "Alexandria Montgomery-Smith Junior");
    shown = line->text().toStdString();
    box->accept();
  });
  EXPECT_EQ(real.InputBox("Type the name:", "Create New Class", "", kClassNameWidth),
            "Alexandria Montgomery-Smith");
  EXPECT_EQ(shown, "Alexandria Montgomery-Smith");
}

// A letter the files cannot hold is said in the box, which opens again with
// the nearest spelling in its place; OK keeps it. A character without one
// is said too, and Cancel then changes nothing.
TEST_F(DesktopConventionsTest, TheRealInputBoxOffersTheNearestSpellingOfALetter) {
  QtDialogs real;
  std::string second_label, second_text;
  const auto box = [] { return qobject_cast<QInputDialog*>(QApplication::activeModalWidget()); };
  QTimer::singleShot(0, [&] {
    if (box() == nullptr) return;
    box()->setTextValue(
        QString::fromUtf8("\xC5\x9E"
                          "ahin \xC3\x96zel \xC5\x9F"
                          "ube"));
    box()->accept();
    QTimer::singleShot(0, [&] {
      if (box() == nullptr) return;
      second_label = box()->labelText().toUtf8().toStdString();
      second_text = box()->textValue().toUtf8().toStdString();
      box()->accept();
    });
  });
  EXPECT_EQ(real.InputBox("Type the name:", "Create New Class", "", kClassNameWidth),
            "Sahin \xD6zel sube");
  EXPECT_EQ(second_label,
            "\xC5\x9E and \xC5\x9F cannot be stored, so they are written as S and s: \"Sahin "
            "\xC3\x96zel sube\". Press OK to keep this spelling, or correct it.\n\nType the name:");
  EXPECT_EQ(second_text, "Sahin \xC3\x96zel sube");

  QTimer::singleShot(0, [&] {
    if (box() == nullptr) return;
    box()->setTextValue(QString::fromUtf8("Class \xE7\x8F\xAD"));
    box()->accept();
    QTimer::singleShot(0, [&] {
      if (box() == nullptr) return;
      second_label = box()->labelText().toUtf8().toStdString();
      box()->reject();
    });
  });
  EXPECT_EQ(real.InputBox("Type the name:", "Create New Class", "", kClassNameWidth), "");
  EXPECT_EQ(second_label,
            "\xE7\x8F\xAD cannot be stored: the files hold only the letters of Western European "
            "languages. Correct the text.\n\nType the name:");
}

}  // namespace
}  // namespace quillon
