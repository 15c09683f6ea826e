// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/player_list.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <algorithm>
#include <numeric>

#include "core/caption_order.h"
#include "ui/item_text_painter.h"
#include "ui/text_bytes.h"

namespace kestrova {
namespace {

constexpr int kSubItemColumns = 3;

// The text of `column` (1 to 3) for these sub-items: empty for a row cut
// short before it.
const std::string& SubItem(const std::vector<std::string>& subItems, int column) {
  static const std::string kNone;
  const auto place = static_cast<std::size_t>(column - 1);
  return place < subItems.size() ? subItems[place] : kNone;
}

// A row on screen that keeps its caption and sub-items as bytes.
class PlayerItem final : public QTreeWidgetItem {
 public:
  explicit PlayerItem(const PlayerRow& row) : caption_(row.caption), subItems_(row.subItems) {
    setText(0, ToDisplayText(caption_));
    for (int column = 1; column <= kSubItemColumns; ++column) {
      setText(column, ToDisplayText(SubItem(subItems_, column)));
    }
  }

  const std::string& Caption() const { return caption_; }

  // Shows `row`, setting only the texts that differ from those shown: an
  // unchanged cell is not repainted.
  void Show(const PlayerRow& row) {
    if (row.caption != caption_) {
      caption_ = row.caption;
      setText(0, ToDisplayText(caption_));
    }
    for (int column = 1; column <= kSubItemColumns; ++column) {
      const std::string& wanted = SubItem(row.subItems, column);
      if (wanted != SubItem(subItems_, column)) {
        setText(column, ToDisplayText(wanted));
      }
    }
    subItems_ = row.subItems;
  }

 private:
  std::string caption_;
  std::vector<std::string> subItems_;
};

const PlayerItem& AsPlayer(const QTreeWidgetItem* item) { return *static_cast<const PlayerItem*>(item); }

}  // namespace

void PlayerList::CellPainter::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
  if (area_ != nullptr && !area_->intersects(option.rect)) {
    return;  // everything a cell draws stays inside its rectangle
  }
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  if (!PaintPlainItemText(painter, cell)) {
    QStyledItemDelegate::paint(painter, option, index);
  }
}

std::vector<int> ShareColumnWidths(int clientWidth, const std::vector<ColumnLimits>& limits) {
  std::vector<int> widths(limits.size(), 0);
  std::vector<std::size_t> pool(limits.size());
  std::iota(pool.begin(), pool.end(), std::size_t{0});
  int left = clientWidth;
  bool removedAny = true;
  while (removedAny && !pool.empty()) {
    removedAny = false;
    const int count = static_cast<int>(pool.size());
    const int share = left / count;
    const int remainder = left % count;
    std::vector<std::size_t> kept;
    for (std::size_t place = 0; place < pool.size(); ++place) {
      const std::size_t column = pool[place];
      const int own = place == 0 ? share + remainder : share;
      int clamped = std::max(own, limits[column].minimum);
      if (limits[column].maximum > 0) {
        clamped = std::min(clamped, limits[column].maximum);
      }
      widths[column] = clamped;
      if (clamped != own) {
        left -= clamped;
        removedAny = true;
      } else {
        kept.push_back(column);
      }
    }
    pool = std::move(kept);
  }
  return widths;
}

PlayerList::PlayerList(const DisplayModel& shown, QWidget* parent) : QTreeWidget(parent), shown_(shown) {
  setColumnCount(1 + kSubItemColumns);
  setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Frags"), QStringLiteral("Deaths"), QStringLiteral("Ping")});
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);  // the list sorts itself; the header is no sort control
  cells_ = new CellPainter(this);
  setItemDelegate(cells_);
  QHeaderView* columns = header();
  columns->setSectionsClickable(false);
  columns->setSectionsMovable(false);
  columns->setStretchLastSection(false);
  columns->setMinimumSectionSize(std::min_element(Limits().begin(), Limits().end(), [](auto a, auto b) {
                                   return a.minimum < b.minimum;
                                 })->minimum);
}

const std::vector<ColumnLimits>& PlayerList::Limits() {
  static const std::vector<ColumnLimits> limits{{20, 0}, {30, 50}, {30, 50}, {30, 50}};
  return limits;
}

void PlayerList::RowsChanged() {
  changed_ = true;
  selectionEnds_ = selectionEnds_ || shown_.RowCount() == 0;
  if (!showQueued_) {
    showQueued_ = true;
    QMetaObject::invokeMethod(this, &PlayerList::ShowRows, Qt::QueuedConnection);
  }
}

bool PlayerList::Holds(const std::string& caption) const {
  const std::vector<PlayerRow>& rows = shown_.RowsInReplyOrder();
  return std::any_of(rows.begin(), rows.end(), [&](const PlayerRow& row) { return row.caption == caption; });
}

std::optional<std::string> PlayerList::SelectedCaption() const {
  const QList<QTreeWidgetItem*> selected = selectedItems();
  if (selected.isEmpty() || selectionEnds_) {
    return std::nullopt;
  }
  // A selection whose caption is no longer held ends at the next ShowRows.
  const std::string& caption = AsPlayer(selected.front()).Caption();
  if (changed_ && !Holds(caption)) {
    return std::nullopt;
  }
  return caption;
}

void PlayerList::ShowRows() {
  showQueued_ = false;
  if (!changed_) {
    return;
  }
  changed_ = false;
  const std::optional<std::string> selected = SelectedCaption();
  if (selectionEnds_) {
    // A list left empty ends its selection and its current row.
    if (selectionModel()->hasSelection() || currentIndex().isValid()) {
      selectionModel()->clear();
    }
  }
  selectionEnds_ = false;
  QTreeWidgetItem* current = currentItem();
  const std::optional<std::string> currentCaption =
      current != nullptr ? std::optional<std::string>(AsPlayer(current).Caption()) : std::nullopt;
  const int currentPlace = current != nullptr ? indexOfTopLevelItem(current) : -1;
  // Both the rows on screen and the model's rows are in list order: walk
  // them side by side, keep the rows whose caption sorts alike (updating
  // their texts), take out those that sort before the next model row and
  // put in those that sort before the next row on screen.
  const std::size_t count = shown_.RowCount();
  int shown = 0;
  std::size_t next = 0;
  while (next < count || shown < topLevelItemCount()) {
    if (shown == topLevelItemCount()) {
      insertTopLevelItem(shown++, new PlayerItem(shown_.Row(next++)));
      continue;
    }
    auto* item = static_cast<PlayerItem*>(topLevelItem(shown));
    if (next == count) {
      DropShownRow(shown);
      continue;
    }
    const PlayerRow& row = shown_.Row(next);
    const int sign = item->Caption() == row.caption ? 0 : CompareCaptions(item->Caption(), row.caption);
    if (sign < 0) {
      DropShownRow(shown);
    } else if (sign > 0) {
      insertTopLevelItem(shown++, new PlayerItem(row));
      ++next;
    } else {
      item->Show(row);
      ++shown;
      ++next;
    }
  }
  RestoreSelection(selected, currentCaption, currentPlace);
}

void PlayerList::DropShownRow(int place) {
  QTreeWidgetItem* item = topLevelItem(place);
  if (item == currentItem()) {
    // Left alone, the list makes the next row current and, with single
    // selection, selects it: a row the user never chose.
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
  delete takeTopLevelItem(place);
}

void PlayerList::RestoreSelection(const std::optional<std::string>& caption,
                                  const std::optional<std::string>& currentCaption, int currentPlace) {
  const auto firstWith = [this](const std::string& wanted) -> QTreeWidgetItem* {
    for (int place = 0; place < topLevelItemCount(); ++place) {
      if (AsPlayer(topLevelItem(place)).Caption() == wanted) {
        return topLevelItem(place);
      }
    }
    return nullptr;
  };
  QTreeWidgetItem* selectedRow = caption ? firstWith(*caption) : nullptr;
  if (selectedRow != nullptr) {
    // Usually the row kept its item, and with it the selection: no change.
    if (!selectedRow->isSelected() || selectedItems().size() != 1 || currentItem() != selectedRow) {
      selectionModel()->setCurrentIndex(indexFromItem(selectedRow),
                                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    return;
  }
  if (selectionModel()->hasSelection()) {
    clearSelection();
  }
  if (currentItem() != nullptr || currentPlace < 0 || topLevelItemCount() == 0) {
    return;
  }
  QTreeWidgetItem* currentRow = currentCaption ? firstWith(*currentCaption) : nullptr;
  if (currentRow == nullptr) {
    currentRow = topLevelItem(std::min(currentPlace, topLevelItemCount() - 1));
  }
  selectionModel()->setCurrentIndex(indexFromItem(currentRow), QItemSelectionModel::NoUpdate);
}

void PlayerList::showEvent(QShowEvent* event) {
  QTreeWidget::showEvent(event);
  FitColumns();
}

void PlayerList::resizeEvent(QResizeEvent* event) {
  // Also called for the viewport, whose width changes with the vertical
  // scroll bar.
  QTreeWidget::resizeEvent(event);
  FitColumns();
}

void PlayerList::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeWidget::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) {
    Q_EMIT RowDoubleClicked();
  }
}

void PlayerList::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  const bool commandKey =
      event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Delete;
  if (rowCommandKeys_ && plain && commandKey && SelectedCaption()) {
    event->accept();
    Q_EMIT RowCommandRequested();
    return;
  }
  QTreeWidget::keyPressEvent(event);
  // The tree moves only the current row when it is already there (Home on
  // the first row, which the focus made current unselected): a move key
  // always leaves the current row selected.
  const int key = event->key();
  const bool moveKey = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Home || key == Qt::Key_End ||
                       key == Qt::Key_PageUp || key == Qt::Key_PageDown;
  if (moveKey && plain && currentIndex().isValid() && !selectionModel()->isSelected(currentIndex())) {
    selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
}

void PlayerList::contextMenuEvent(QContextMenuEvent* event) {
  // The Menu key (or Shift+F10) on the selected row; anything else asks
  // the window for its menu.
  if (rowCommandKeys_ && event->reason() == QContextMenuEvent::Keyboard && SelectedCaption()) {
    event->accept();
    Q_EMIT RowCommandRequested();
    return;
  }
  event->ignore();
}

void PlayerList::paintEvent(QPaintEvent* event) {
  // Given a region of several rectangles, the tree draws every cell of
  // each row the region touches, once for every rectangle in that row,
  // and every pass asks the window system where the pointer is (a round
  // trip to the X server). A cycle that changes a few pings, frags and
  // deaths gives such a region. The cell painter draws only the cells
  // inside the region, those outside would draw nothing that shows, and
  // the tree walks each column that holds some in one pass over the rows
  // between the first and the last. With a current row the tree draws a
  // focus frame across the row in every pass, so then it walks the
  // region's rows whole in a single pass.
  const QRegion& region = event->region();
  if (region.rectCount() <= 1) {
    QTreeWidget::paintEvent(event);
    return;
  }
  cells_->SetArea(&region);
  if (currentIndex().isValid()) {
    QRegion rows;
    for (const QRect& rect : region) {
      rows += QRect(0, rect.top(), viewport()->width(), rect.height());
    }
    QPaintEvent whole(rows);
    QTreeWidget::paintEvent(&whole);
  } else {
    for (int column = 0; column < columnCount(); ++column) {
      const QRect strip(columnViewportPosition(column), 0, columnWidth(column), viewport()->height());
      const QRect part = (region & strip).boundingRect();
      if (!part.isEmpty()) {
        QPaintEvent columnPart(part);
        QTreeWidget::paintEvent(&columnPart);
      }
    }
  }
  cells_->SetArea(nullptr);
}

void PlayerList::FitColumns() {
  const std::vector<int> widths = ShareColumnWidths(viewport()->width(), Limits());
  for (std::size_t column = 0; column < widths.size(); ++column) {
    header()->resizeSection(static_cast<int>(column), widths[column]);
  }
}

}  // namespace kestrova
