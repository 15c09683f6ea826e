#pragma once

#include <QStyledItemDelegate>
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
// CompareCaptions (rows with equal captions in the order they came), the
// header does not sort. Captions and sub-items keep their bytes, which
// Rows and SelectedCaption give back unchanged. The columns share the
// list's width (ShareColumnWidths) whenever it is shown or resized.
//
// ClearRows, AddRow and AppendSubItem change the rows the list holds at
// once; the rows on screen follow at the event loop's next turn (or at
// ShowRows), so a query that empties the list and fills it again costs
// only the cells that really changed: rows that stayed keep their items,
// only changed texts are set, only new rows are inserted and only gone
// rows removed. What the user sees is the same as after removing every
// row and adding the new ones: the same rows in the same order with the
// same texts, and no selection once the list has been emptied.
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

  // Brings the rows on screen (the tree's items) up to the rows held now,
  // rather than at the event loop's next turn.
  void ShowRows();

  // The column limits of this list, in column order.
  static const std::vector<ColumnLimits>& Limits();

 Q_SIGNALS:
  // A double-click anywhere in the list's rows area.
  void RowDoubleClicked();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // Paints the cells; while an area is set, only those that reach into it.
  class CellPainter final : public QStyledItemDelegate {
   public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // `area` (viewport coordinates) must outlive its use; nullptr paints all.
    void SetArea(const QRegion* area) { area_ = area; }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

   private:
    const QRegion* area_ = nullptr;
  };

  void FitColumns();
  // Notes a change of the rows held and asks for ShowRows at the event
  // loop's next turn.
  void RowsChanged();
  // The places in arrived_ in list order.
  const std::vector<std::size_t>& Order() const;

  // The rows held, in the order they were added since the list was last
  // emptied; AppendSubItem fills the last one.
  std::vector<PlayerRow> arrived_;
  bool lastRowPresent_ = false;
  // Sorting is worked out when the rows are read: order_ holds the places
  // in arrived_ in list order, for the captions in sortedFor_. A server
  // lists its players in the same order from one reply to the next, so
  // most sorts find the captions unchanged and keep the order.
  mutable std::vector<std::size_t> order_;
  mutable std::vector<std::string> sortedFor_;
  mutable bool orderKnown_ = true;
  // The held rows differ from those on screen; an emptying since the last
  // ShowRows ends the selection there.
  bool changed_ = false;
  bool emptied_ = false;
  bool showQueued_ = false;
  CellPainter* cells_ = nullptr;
};

}  // namespace kestrova
