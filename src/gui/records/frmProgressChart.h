// One student's progress chart, modal over the class summary: a point per
// test (day against percent; passed a dot, failed a cross), the class
// passing grade as a dashed line, the practice minutes of each week as bars
// beneath; the lesson or unit title of the point under the pointer as its
// tip. Drawn by the same picture the printed page carries.
#pragma once

#include <QDialog>
#include <QWidget>
#include <string>
#include <vector>

#include "gui/shell/Services.h"
#include "records/ProgressChart.h"

class QPushButton;

namespace quillon {

// The chart, drawn at the widget's size.
class ProgressChartView : public QWidget {
 public:
  ProgressChartView(const ProgressData& data, QWidget* parent = nullptr);
  // The tip of the point within reach of `pos` (widget pixels): its title,
  // date, percent and result; "" where there is none.
  QString TipAt(QPoint pos) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  double Dpi() const;
  const ProgressData& data_;
};

class frmProgressChart : public QDialog {
  Q_OBJECT

 public:
  frmProgressChart(Services services, ProgressData data, std::string class_name, SummaryRange range,
                   QWidget* parent = nullptr);

  const ProgressData& data() const { return data_; }
  void cmdPrint_Click();

 private:
  Services services_;
  ProgressData data_;
  std::string class_name_;
  SummaryRange range_;
  ProgressChartView* picChart_;
  QPushButton* cmdPrint_;
  QPushButton* cmdClose_;
};

}  // namespace quillon
