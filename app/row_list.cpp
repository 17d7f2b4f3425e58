#include "app/row_list.h"

#include <QItemSelectionModel>
#include <QMouseEvent>
#include <algorithm>

namespace tamsel {

QVariant RowModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role == Qt::DisplayRole) return rows_[static_cast<std::size_t>(index.row())];
  return {};
}

void RowModel::SetRows(std::vector<QString> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void RowModel::Append(const QString& row) {
  const int at = rowCount();
  beginInsertRows({}, at, at);
  rows_.push_back(row);
  endInsertRows();
}

void RowModel::SetRow(int row, const QString& text) {
  rows_[static_cast<std::size_t>(row)] = text;
  emit dataChanged(index(row), index(row));
}

void RowModel::RemoveRow(int row) {
  beginRemoveRows({}, row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
}

RowList::RowList(QWidget* parent, bool multiSelect)
    : QListView(parent), model_(new RowModel(this)) {
  setModel(model_);
  setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection
                               : QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);  // lets the view skip measuring every row
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

QString RowList::List(int row) const {
  if (row < 0 || row >= ListCount()) return {};
  return model_->Row(row);
}

void RowList::SetFilter(const QString& text) {
  filter_ = text;
  ApplyFilter();
}

void RowList::ApplyFilter() {
  const int n = ListCount();
  for (int row = 0; row < n; ++row) {
    const bool hidden =
        !filter_.isEmpty() && !model_->Row(row).contains(filter_, Qt::CaseInsensitive);
    if (isRowHidden(row) != hidden) setRowHidden(row, hidden);
  }
}

void RowList::SetList(int row, const QString& text) {
  if (row >= 0 && row < ListCount()) model_->SetRow(row, text);
}

void RowList::RemoveItem(int row) {
  if (row >= 0 && row < ListCount()) model_->RemoveRow(row);
}

QSize RowList::minimumSizeHint() const {
  const int row = fontMetrics().height() + 4;
  return {QListView::minimumSizeHint().width(), 2 * row + 2 * frameWidth()};
}

bool RowList::Selected(int row) const {
  if (row < 0 || row >= ListCount()) return false;
  return selectionModel()->isSelected(model_->index(row));
}

void RowList::SetSelected(int row, bool selected) {
  if (row < 0 || row >= ListCount()) return;
  selectionModel()->select(model_->index(row),
                           selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

void RowList::SetSelectedRows(const std::vector<bool>& selected) {
  QItemSelection selection;
  const int n = std::min(ListCount(), static_cast<int>(selected.size()));
  for (int row = 0; row < n;) {
    if (!selected[static_cast<std::size_t>(row)]) {
      ++row;
      continue;
    }
    int end = row;
    while (end + 1 < n && selected[static_cast<std::size_t>(end + 1)]) ++end;
    selection.select(model_->index(row), model_->index(end));
    row = end + 1;
  }
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

std::vector<bool> RowList::SelectedRows() const {
  std::vector<bool> rows(static_cast<std::size_t>(ListCount()), false);
  for (const QItemSelectionRange& range : selectionModel()->selection())
    for (int row = range.top(); row <= range.bottom(); ++row)
      rows[static_cast<std::size_t>(row)] = true;
  return rows;
}

void RowList::DeselectAll() {
  selectionModel()->clearSelection();
}

int RowList::ListIndex() const {
  const QModelIndex current = selectionModel()->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void RowList::SetListIndex(int row) {
  if (row < 0 || row >= ListCount()) {
    selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
    return;
  }
  selectionModel()->setCurrentIndex(model_->index(row), QItemSelectionModel::NoUpdate);
}

int RowList::FocusRow(const QString& text) {
  for (int row = 0; row < ListCount(); ++row)
    if (model_->Row(row) == text) {
      SetListIndex(row);
      return row;
    }
  return -1;
}

void RowList::mouseReleaseEvent(QMouseEvent* event) {
  QListView::mouseReleaseEvent(event);
  emit MouseUp();
}

void RowList::mouseDoubleClickEvent(QMouseEvent* event) {
  QListView::mouseDoubleClickEvent(event);
  emit DblClick();
}

}  // namespace tamsel
