#include "gui/classes/frmStudentName.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <algorithm>

#include "base/Text.h"
#include "classes/ClassOperations.h"
#include "data/ClassFiles.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/Encoding.h"

namespace quillon {
namespace {

bool IsPasswordCharacter(QChar c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }

// The name box takes what the roster keeps: 21 characters after the blanks
// before them (which are dropped, as are those after). Typing stops there;
// a pasted name is cut there.
class NameWidth : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override {
    qsizetype lead = 0;
    while (lead < input.size() && input[lead] == ' ') ++lead;
    if (input.size() - lead > kStudentNameWidth) {
      input.truncate(lead + kStudentNameWidth);
      pos = std::min(pos, static_cast<int>(input.size()));
    }
    return Acceptable;
  }
};

}  // namespace

frmStudentName::frmStudentName(Services services, QWidget* parent)
    : QDialog(parent), services_(services) {
  setObjectName("frmStudentName");
  Label4_ = new QLabel(this);
  Label4_->setObjectName("Label4");
  Label4_->setWordWrap(true);
  lblNotice_ = new QLabel(this);
  lblNotice_->setObjectName("lblNotice");
  lblNotice_->setWordWrap(true);
  lblNotice_->setTextFormat(Qt::PlainText);
  QFont bold = lblNotice_->font();
  bold.setBold(true);
  lblNotice_->setFont(bold);
  lblNotice_->hide();
  Label1_ = new QLabel("Student Name", this);
  Label1_->setObjectName("Label1");
  Text1_ = new QLineEdit(this);
  Text1_->setObjectName("Text1");
  Text1_->setAccessibleName("Student Name");
  Text1_->setValidator(new NameWidth(Text1_));
  Label1_->setBuddy(Text1_);
  Label2_ = new QLabel("Password", this);
  Label2_->setObjectName("Label2");
  Text2_ = new QLineEdit(this);
  Text2_->setObjectName("Text2");
  Text2_->setAccessibleName("Password");
  Text2_->setMaxLength(6);
  Text2_->installEventFilter(this);
  Label2_->setBuddy(Text2_);
  Label3_ = new QLabel(
      " Password must be 0 to 6         characters.  Use uppercase    letters A-Z and numbers 0-9.",
      this);
  Label3_->setObjectName("Label3");
  Label3_->setWordWrap(true);
  Label3_->setFixedWidth(Label3_->fontMetrics().horizontalAdvance("characters.  Use uppercase ") +
                         8);
  cmdOK_ = new QPushButton("OK", this);
  cmdOK_->setObjectName("cmdOK");
  cmdOK_->setDefault(true);
  cmdCancel_ = new QPushButton("Cancel", this);
  cmdCancel_->setObjectName("cmdCancel");

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label4_, 0, 0, 1, 3);
  grid->addWidget(Label1_, 1, 0);
  grid->addWidget(Text1_, 1, 1, 1, 2);
  grid->addWidget(lblNotice_, 2, 1, 1, 2);
  grid->addWidget(Label2_, 3, 0);
  grid->addWidget(Text2_, 3, 1);
  grid->addWidget(Label3_, 3, 2, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK_);
  buttons->addWidget(cmdCancel_);
  grid->addLayout(buttons, 5, 0, 1, 3);
  connect(cmdOK_, &QPushButton::clicked, this, &frmStudentName::cmdOK_Click);
  connect(cmdCancel_, &QPushButton::clicked, this, &frmStudentName::cmdCancel_Click);
  resize(460, 200);
  CenterForm(*this);  // Form_Load
  Text1_->setFocus();
}

void frmStudentName::SetPrompt(const std::string& label4) { Label4_->setText(ToQString(label4)); }
void frmStudentName::SetName(const std::string& text1) { Text1_->setText(ToQString(text1)); }
void frmStudentName::SetPassword(const std::string& text2) { Text2_->setText(ToQString(text2)); }

void frmStudentName::cmdOK_Click() {
  // A letter the roster cannot hold is said here, beside the name, with the
  // nearest spelling put in its place: OK again keeps it.
  std::optional<std::string> spelled;
  const QString notice = SpellingNotice(Text1_->text(), &spelled);
  if (!notice.isEmpty()) {
    lblNotice_->setText(notice);
    lblNotice_->show();
    Text1_->setAccessibleDescription(notice);
    if (spelled) Text1_->setText(ToQString(*spelled));
    Text1_->setFocus();
    return;
  }
  std::optional<std::string> name = FromQString(Text1_->text());
  std::string problem;
  if (name && Trim(*name).empty()) {
    services_.dialogs.MessageBox("Enter the student's name.", Buttons::kOk, Icon::kNone,
                                 Title::Default());
    Text1_->setFocus();
    return;
  }
  if (!name) {
    problem = "The student name holds a character that cannot be stored in STUDENTS.DAT.";
  } else if (std::string what = UnstorableText(*name); !what.empty()) {
    problem = "The student name cannot hold " + what + ".";
  }
  // Typing lets only A-Z and 0-9 in, but a password kept in the roster is
  // shown as it is and kept as it is unless it cannot be stored.
  std::optional<std::string> password = FromQString(Text2_->text().trimmed());
  QLineEdit* wrong = Text1_;
  if (problem.empty() && (!password || password->size() > 6)) {
    problem = "Password must be 0 to 6 characters.  Use uppercase letters A-Z and numbers 0-9.";
    wrong = Text2_;
  }
  if (!problem.empty()) {
    services_.dialogs.MessageBox(problem, Buttons::kOk, Icon::kCritical, Title::Default());
    wrong->setFocus();
    return;
  }
  StudentDialogOK_ = true;
  answer_ = {Trim(*name), *password};
  accept();
}

void frmStudentName::cmdCancel_Click() {
  StudentDialogOK_ = false;
  done(QDialog::Rejected);
}

std::optional<StudentDialogAnswer> frmStudentName::Answer() const {
  if (!StudentDialogOK_) return std::nullopt;
  return answer_;
}

bool frmStudentName::eventFilter(QObject* watched, QEvent* event) {
  if (watched != Text2_ || event->type() != QEvent::KeyPress)
    return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Backspace) {
    QString text = Text2_->text();
    text.chop(1);
    Text2_->setText(text);
    Text2_->setCursorPosition(static_cast<int>(text.size()));
    return true;
  }
  // Enter, Escape and Tab still work the dialog; keys that type nothing
  // (the arrows, Delete) move and delete as in any text box.
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return false;
    default:
      break;
  }
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return true;
  const QString typed = key->text();
  if (typed.isEmpty()) return false;
  return !(typed.size() == 1 && IsPasswordCharacter(typed[0]));
}

}  // namespace quillon
