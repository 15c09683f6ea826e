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
// same texts.
//
// The selected row stays selected through such a refill while a row with
// the same caption (byte for byte) is held, and moves with it when the
// order changes. It ends when no row of its caption is held any more (the
// player left) and when the list is left empty (a cycle that timed out).
// The current row (where the keyboard is) follows its caption too; when
// that row goes, the row now at its place becomes current, unselected.
//
// Up, Down, Home and End move the selection. While row commands are on,
// Enter, Delete and the Menu key on the selected row raise
// RowCommandRequested.
class PlayerList final : public QTreeWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(PlayerList)

 public:
  explicit PlayerList(QWidget* parent = nullptr);

  // Removes every row; a selection survives only if a row of its caption
  // is added before the rows are shown.
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
  // The caption of the selected row; nothing when no row is selected or
  // the selection ends at the next ShowRows.
  std::optional<std::string> SelectedCaption() const;

  // Whether Enter, Delete and the Menu key on the selected row raise
  // RowCommandRequested (off at first); while off, the Menu key's request
  // goes on to the list's parent.
  void SetRowCommandKeys(bool on) { rowCommandKeys_ = on; }

  // Brings the rows on screen (the tree's items) up to the rows held now,
  // rather than at the event loop's next turn.
  void ShowRows();

  // The column limits of this list, in column order.
  static const std::vector<ColumnLimits>& Limits();

 Q_SIGNALS:
  // A double-click anywhere in the list's rows area.
  void RowDoubleClicked();
  // Enter, Delete or the Menu key on the selected row (row commands on).
  void RowCommandRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
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
  bool Holds(const std::string& caption) const;
  // Takes the row at `place` off the screen without Qt making another row
  // current and selected in its stead.
  void DropShownRow(int place);
  // After a refill: the selection back on the first row of `caption`
  // (none: no selection), the current row on its caption or else at
  // `currentPlace`.
  void RestoreSelection(const std::optional<std::string>& caption, const std::optional<std::string>& currentCaption,
                        int currentPlace);

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
  // The held rows differ from those on screen. A list left empty (emptied
  // and emptied again with no row between) ends the selection there, even
  // if rows came after.
  bool changed_ = false;
  bool emptiedBare_ = false;
  bool selectionEnds_ = false;
  bool rowCommandKeys_ = false;
  bool showQueued_ = false;
  CellPainter* cells_ = nullptr;
};

}  // namespace kestrova
