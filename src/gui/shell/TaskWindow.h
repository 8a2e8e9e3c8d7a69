// A task window not yet built: its caption and a working "Return to Menu".
#pragma once

#include <QDialog>

#include "gui/shell/Services.h"

namespace quillon {

class TaskWindow : public QDialog {
  Q_OBJECT

 public:
  TaskWindow(const QString& object_name, const QString& caption, QWidget* parent = nullptr);
};

}  // namespace quillon
