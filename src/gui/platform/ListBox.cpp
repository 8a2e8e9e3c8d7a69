#include "gui/platform/ListBox.h"

#include "gui/platform/Encoding.h"
#include "gui/platform/Fonts.h"

namespace quillon {

void ClearCurrentUnlessSelected(QAbstractItemView* view) {
  // A list given the focus makes its first item current (framed, looking
  // chosen) though none is selected, and the next Down would then select
  // the second. With no current item the first arrow key selects the first.
  if (view->selectionModel() != nullptr && !view->selectionModel()->hasSelection()) {
    view->selectionModel()->clearCurrentIndex();
  }
}

QModelIndex MoveFromNowhere(const QAbstractItemView& view, bool to_last) {
  const QAbstractItemModel* model = view.model();
  if (model == nullptr || view.currentIndex().isValid() || model->rowCount(view.rootIndex()) == 0) {
    return QModelIndex();
  }
  // Qt moves every key to the first row from nowhere: End would select the
  // first item, which is not where End goes.
  const int rows = model->rowCount(view.rootIndex());
  return model->index(to_last ? rows - 1 : 0, 0, view.rootIndex());
}

RecordListBox::RecordListBox(const char* object_name, const QString& accessible_name, bool sorted,
                             QWidget* parent)
    : QListWidget(parent) {
  setObjectName(object_name);
  setAccessibleName(accessible_name);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setProperty("sorted", sorted);
  // The click handler follows the selection (not the current row, which a
  // list takes on by itself when it gets the focus).
  connect(this, &QListWidget::itemSelectionChanged, this, [this] {
    if (ListIndex() >= 0) emit Click();
  });
}

void RecordListBox::Clear() {
  QSignalBlocker quiet(this);
  clear();
}

void RecordListBox::AddItem(const std::string& record, const std::string& shown) {
  auto* item = new QListWidgetItem(ToQString(shown));
  item->setData(Qt::UserRole, ToQString(record));
  int at = count();
  if (property("sorted").toBool()) {
    // The first item whose record is greater, by character code; equal
    // records keep the order they were added in.
    int low = 0, high = count();
    while (low < high) {
      const int mid = (low + high) / 2;
      if (ItemRecord(mid) <= record) {
        low = mid + 1;
      } else {
        high = mid;
      }
    }
    at = low;
  }
  QSignalBlocker quiet(this);
  insertItem(at, item);
}

int RecordListBox::ListIndex() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : row(selected.front());
}

void RecordListBox::SetListIndex(int index) {
  if (index < 0 || index >= count()) {
    QSignalBlocker quiet(this);
    setCurrentRow(-1);
    clearSelection();
    return;
  }
  if (index == ListIndex()) {
    QSignalBlocker quiet(this);
    clearSelection();  // so that selecting it again is a change
  }
  setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

std::string RecordListBox::ItemRecord(int index) const {
  const QListWidgetItem* it = index >= 0 ? item(index) : nullptr;
  return it == nullptr ? std::string() : FromQStringReplacing(it->data(Qt::UserRole).toString());
}

QItemSelectionModel::SelectionFlags RecordListBox::selectionCommand(const QModelIndex& index,
                                                                    const QEvent* event) const {
  QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
  if ((flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)) &&
      selectionModel()->isSelected(index)) {
    return QItemSelectionModel::NoUpdate;
  }
  return flags;
}

void RecordListBox::focusInEvent(QFocusEvent* event) {
  QListWidget::focusInEvent(event);
  ClearCurrentUnlessSelected(this);
  emit GotFocus();
}

QModelIndex RecordListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex from_nowhere = MoveFromNowhere(*this, action == MoveEnd);
  return from_nowhere.isValid() ? from_nowhere : QListWidget::moveCursor(action, modifiers);
}

QModelIndex LinesView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex from_nowhere = MoveFromNowhere(*this, action == MoveEnd);
  return from_nowhere.isValid() ? from_nowhere : QListView::moveCursor(action, modifiers);
}

void LinesView::focusInEvent(QFocusEvent* event) {
  QListView::focusInEvent(event);
  ClearCurrentUnlessSelected(this);
}

void LinesModel::SetLines(int count, Source line) {
  beginResetModel();
  count_ = count;
  line_ = std::move(line);
  endResetModel();
}

int LinesModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count_; }

QVariant LinesModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count_) return QVariant();
  return ToQString(line_(index.row()));
}

LinesView::LinesView(const char* object_name, const QString& accessible_name, double points,
                     bool bold, QWidget* parent)
    : QListView(parent) {
  setObjectName(object_name);
  setAccessibleName(accessible_name);
  setFont(FixedPitchFont(points, bold));
  setUniformItemSizes(true);  // every line is as high as the first: no measuring 20,000
  setSelectionMode(QAbstractItemView::SingleSelection);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setModel(&model_);
}

}  // namespace quillon
