// The list boxes of the windows.
//
// RecordListBox: items that carry whole file records (the name part shown,
// the record kept whole with the item, Qt::UserRole), sorted by character
// code of the whole record text or kept in the order added. Its click
// handler is the `Click` signal, sent whenever an item becomes selected, by
// the user or by SetListIndex (also when it selects the item selected
// already): choosing an item in code runs the window's handler as a click
// on it does.
//
// LinesView: a long unsorted list of fixed-pitch lines (the records display,
// the diagnostic report), read on demand from the lines it is given, so that
// 20,000 lines show at once and scroll smoothly.
#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QListWidget>
#include <functional>
#include <string>

#include "gui/platform/Fonts.h"

namespace quillon {

// No item of `view` is current while none is selected.
void ClearCurrentUnlessSelected(QAbstractItemView* view);

// Where a key moves to in `view` from no current item: End (`to_last`) to the
// last row, Home and every other key to the first; an invalid index when the
// view has a current item, or no rows (the view's own move then applies).
QModelIndex MoveFromNowhere(const QAbstractItemView& view, bool to_last);

class RecordListBox : public QListWidget {
  Q_OBJECT

 public:
  // `accessible_name` is the words of the list's heading.
  RecordListBox(const char* object_name, const QString& accessible_name, bool sorted,
                QWidget* parent = nullptr);

  void Clear();
  // Adds `record`, showing `shown`; a sorted list puts it at its place.
  void AddItem(const std::string& record, const std::string& shown);
  int ListCount() const { return count(); }
  // The selected item, -1 for none.
  int ListIndex() const;
  // Selects item `index` (-1: none); selecting an item sends Click.
  void SetListIndex(int index);
  // The whole record of item `index`, or "" when there is no such item.
  std::string ItemRecord(int index) const;
  // The whole record of the selected item, "" when none is selected.
  std::string SelectedRecord() const { return ItemRecord(ListIndex()); }

 signals:
  void Click();
  void GotFocus();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  // The user cannot take the selection away (Ctrl+click, Ctrl+Space): the
  // windows read numbers out of the selected item, and none would mean 0,
  // "every class", to the removals.
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;
};

// The lines a LinesView shows.
class LinesModel : public QAbstractListModel {
 public:
  using Source = std::function<std::string(int row)>;
  // Shows `count` lines, line i given by `line(i)`.
  void SetLines(int count, Source line);
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  int count_ = 0;
  Source line_;
};

class LinesView : public QListView {
 public:
  LinesView(const char* object_name, const QString& accessible_name, double points, bool bold,
            QWidget* parent = nullptr);
  void SetLines(int count, LinesModel::Source line) { model_.SetLines(count, std::move(line)); }
  void Clear() { model_.SetLines(0, nullptr); }
  int ListCount() const { return model_.rowCount(); }

 protected:
  void focusInEvent(QFocusEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

 private:
  LinesModel model_;
};

}  // namespace quillon
