// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <optional>
#include <string>
#include <vector>

#include "core/display_model.h"

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

// The player list, a view of a DisplayModel's rows: columns "Name",
// "Frags", "Deaths" and "Ping"; read-only, one whole row selectable at a
// time; the header does not sort. Captions and sub-items keep their bytes,
// which SelectedCaption gives back unchanged. The columns share the list's
// width (ShareColumnWidths) whenever it is shown or resized.
//
// When the model's rows change (RowsChanged), the rows on screen follow at
// the event loop's next turn (or at ShowRows), costing only the cells that
// really changed: rows that stayed keep their items, only changed texts are
// set, only new rows are inserted and only gone rows removed. What the user
// sees is the same as after removing every row and adding the new ones: the
// same rows in the same order with the same texts.
//
// The selected row stays selected through such a change while a row with
// the same caption (byte for byte) is held, and moves with it when the
// order changes. It ends when no row of its caption is held any more (the
// player left) and when the model was left without rows (a cycle that
// timed out). The current row (where the keyboard is) follows its caption
// too; when that row goes, the row now at its place becomes current,
// unselected.
//
// Up, Down, Home and End move the selection. While row commands are on,
// Enter, Delete and the Menu key on the selected row raise
// RowCommandRequested.
class PlayerList final : public QTreeWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(PlayerList)

 public:
  // Shows the rows of `shown`, which must outlive the list.
  explicit PlayerList(const DisplayModel& shown, QWidget* parent = nullptr);

  // The model's rows changed: the rows on screen follow at the event
  // loop's next turn. Rows left empty end the selection there.
  void RowsChanged();

  // The caption of the selected row; nothing when no row is selected or
  // the selection ends at the next ShowRows.
  std::optional<std::string> SelectedCaption() const;

  // Whether Enter, Delete and the Menu key on the selected row raise
  // RowCommandRequested (off at first); while off, the Menu key's request
  // goes on to the list's parent.
  void SetRowCommandKeys(bool on) { rowCommandKeys_ = on; }

  // Brings the rows on screen (the tree's items) up to the model's rows
  // now, rather than at the event loop's next turn.
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
  bool Holds(const std::string& caption) const;
  // Takes the row at `place` off the screen without Qt making another row
  // current and selected in its stead.
  void DropShownRow(int place);
  // After a refill: the selection back on the first row of `caption`
  // (none: no selection), the current row on its caption or else at
  // `currentPlace`.
  void RestoreSelection(const std::optional<std::string>& caption, const std::optional<std::string>& currentCaption,
                        int currentPlace);

  const DisplayModel& shown_;
  // The model's rows differ from those on screen; and were left empty
  // since they were last shown.
  bool changed_ = false;
  bool selectionEnds_ = false;
  bool rowCommandKeys_ = false;
  bool showQueued_ = false;
  CellPainter* cells_ = nullptr;
};

}  // namespace kestrova
