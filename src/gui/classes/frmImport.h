// The preview of a roster import: every row of the file with the name and
// password it would be stored with, the number it would get, what will
// happen to it and why a name is stored otherwise than the file spells it.
// A column box per role (the names, or the last names beside the first
// names, and the passwords) shows the columns read; when no heading row was
// recognised the window says so and the user chooses them. Nothing is
// written before "Add N Students"; afterwards the window offers the log-in
// slips of the students it has just added.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "classes/LoginSlips.h"
#include "classes/RosterImport.h"
#include "gui/shell/Services.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace quillon {

class frmImport : public QDialog {
  Q_OBJECT

 public:
  // The rows of `table`, read from the file `file` (as the user knows it),
  // to be added to class `classnum` named `class_name`; passwords are made
  // up from `random`.
  frmImport(Services services, int classnum, std::string class_name, std::string file,
            RosterTable table, RandomSource& random, QWidget* parent = nullptr);

  // How many students the window added (0 until "Add N Students").
  int Added() const { return static_cast<int>(added_.size()); }

  void cmdAdd_Click();
  void cmdPrintSlips_Click();
  void cmdCancel_Click();
  // The column boxes and the heading box changed: the preview made again
  // with the columns they show.
  void Columns_Change();

 private:
  // Builds the preview against STUDENTS.DAT as it is now and shows it; a
  // roster that cannot be read is said and leaves nothing to add.
  void BuildPreview();
  void ShowRows();
  // Fills the column boxes with the file's columns and shows the columns
  // the preview was read from.
  void FillColumnBoxes();

  Services services_;
  int classnum_;
  std::string class_name_;
  RosterTable table_;
  RandomSource& random_;
  ImportPreview preview_;
  RosterColumnChoice choice_;
  std::vector<LoginSlip> added_;

  QLabel* Label1_;
  QLabel* lblColumns_;
  QComboBox* cboNameColumn_;
  QComboBox* cboFirstColumn_;
  QComboBox* cboPasswordColumn_;
  QCheckBox* chkHeading_;
  QLabel* lblSummary_;
  QTableWidget* tblRows_;
  QPushButton* cmdPrintSlips_;
  QPushButton* cmdAdd_;
  QPushButton* cmdCancel_;
};

}  // namespace quillon
