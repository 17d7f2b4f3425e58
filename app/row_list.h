// A multi-select list box over a plain row model, so that lists of hundreds of thousands
// of rows (the corner lists of a large craft) stay cheap to fill and to query.
#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QString>
#include <vector>

namespace tamsel {

class RowModel : public QAbstractListModel {
  Q_OBJECT
 public:
  using QAbstractListModel::QAbstractListModel;
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override;
  void SetRows(std::vector<QString> rows);
  void Append(const QString& row);
  void SetRow(int row, const QString& text);
  void RemoveRow(int row);
  const QString& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }

 private:
  std::vector<QString> rows_;
};

class RowList : public QListView {
  Q_OBJECT
 public:
  explicit RowList(QWidget* parent = nullptr, bool multiSelect = true);

  int ListCount() const { return model_->rowCount(); }
  QString List(int row) const;  // empty for a row that does not exist
  void AddItem(const QString& text) { model_->Append(text); }
  void SetList(int row, const QString& text);
  void RemoveItem(int row);
  void SetRows(std::vector<QString> rows) {
    model_->SetRows(std::move(rows));
    ApplyFilter();
  }
  // Shows only the rows whose text holds `text` (any case); empty shows every row. The
  // rows stay where they are: a hidden row keeps its index and its selection.
  void SetFilter(const QString& text);
  void Clear() { model_->SetRows({}); }

  bool Selected(int row) const;
  void SetSelected(int row, bool selected);
  // Every row's selection at once (rows past the vector unselected): one change of runs of
  // rows, where row-by-row selection grows quadratic on long lists.
  void SetSelectedRows(const std::vector<bool>& selected);
  std::vector<bool> SelectedRows() const;
  // Room for two rows: a list that small is still usable, and panels fit small windows.
  QSize minimumSizeHint() const override;
  void DeselectAll();
  // The focused row, -1 when there is none.
  int ListIndex() const;
  void SetListIndex(int row);  // focuses without changing the selection
  // Focuses the first row with this text; returns its index, or -1 when there is none.
  int FocusRow(const QString& text);

 signals:
  void MouseUp();
  void DblClick();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void ApplyFilter();
  RowModel* model_;
  QString filter_;
};

}  // namespace tamsel
