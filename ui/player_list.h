#pragma once

#include <QTreeWidget>
#include <optional>
#include <string>
#include <vector>

#include "core/player_row.h"

namespace kestrova {

// Width limits of one list column; a maximum of 0 means none.
struct ColumnLimits {
  int minimum = 0;
  int maximum = 0;
};

// Shares `clientWidth` among columns with the given limits: each gets an
// equal share (the first column of those still shared also takes the
// remainder), clamped to its limits; a column whose clamped width differs
// from its share keeps it and leaves the pool, and the width left is shared
// again among the others until a pass removes none. Returns one width per
// column, in order.
std::vector<int> ShareColumnWidths(int clientWidth, const std::vector<ColumnLimits>& limits);

// The player list: columns "Name", "Frags", "Deaths" and "Ping"; read-only,
// one whole row selectable at a time. Rows are kept sorted by caption with
// CompareCaptions, the header does not sort. Captions and sub-items keep
// their bytes, which Rows and SelectedCaption give back unchanged. The
// columns share the list's width (ShareColumnWidths) whenever it is shown
// or resized.
class PlayerList final : public QTreeWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(PlayerList)

 public:
  explicit PlayerList(QWidget* parent = nullptr);

  // Removes every row; no selection survives.
  void ClearRows();
  // Adds a row with this caption at its sorted place; AppendSubItem then
  // fills this row.
  void AddRow(const std::string& caption);
  // Sets the next column of the row added last (frags, deaths, ping).
  // Does nothing when that row is gone.
  void AppendSubItem(const std::string& text);

  int RowCount() const;
  // Every row in list order, with the sub-items appended so far.
  std::vector<PlayerRow> Rows() const;
  // The caption of the selected row; nothing when no row is selected.
  std::optional<std::string> SelectedCaption() const;

  // The column limits of this list, in column order.
  static const std::vector<ColumnLimits>& Limits();

 Q_SIGNALS:
  // A double-click anywhere in the list's rows area.
  void RowDoubleClicked();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void FitColumns();

  QTreeWidgetItem* lastRow_ = nullptr;
};

}  // namespace kestrova
