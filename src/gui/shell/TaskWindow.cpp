#include "gui/shell/TaskWindow.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "gui/platform/CenterForm.h"

namespace quillon {

TaskWindow::TaskWindow(const QString& object_name, const QString& caption, QWidget* parent)
    : QDialog(parent) {
  setObjectName(object_name);
  setWindowTitle(caption);
  auto* cmdMenu = new QPushButton("Return to Menu", this);
  cmdMenu->setObjectName("cmdMenu");
  cmdMenu->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addStretch();
  layout->addWidget(cmdMenu, 0, Qt::AlignHCenter);
  connect(cmdMenu, &QPushButton::clicked, this, &QDialog::accept);
  resize(640, 420);
  CenterForm(*this);
}

}  // namespace quillon
