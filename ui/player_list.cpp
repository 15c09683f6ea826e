#include "ui/player_list.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>
#include <numeric>

#include "core/caption_order.h"
#include "ui/text_bytes.h"

namespace kestrova {
namespace {

constexpr int kSubItemColumns = 3;

// A row that keeps its caption and sub-items as bytes and sorts by caption.
class PlayerItem final : public QTreeWidgetItem {
 public:
  explicit PlayerItem(std::string caption) : caption_(std::move(caption)) { setText(0, ToDisplayText(caption_)); }

  const std::string& Caption() const { return caption_; }
  const std::vector<std::string>& SubItems() const { return subItems_; }

  void AppendSubItem(const std::string& text) {
    subItems_.push_back(text);
    const auto column = static_cast<int>(subItems_.size());
    if (column <= kSubItemColumns) {
      setText(column, ToDisplayText(text));
    }
  }

  bool operator<(const QTreeWidgetItem& other) const override {
    return CompareCaptions(caption_, static_cast<const PlayerItem&>(other).caption_) < 0;
  }

 private:
  std::string caption_;
  std::vector<std::string> subItems_;
};

const PlayerItem& AsPlayer(const QTreeWidgetItem* item) { return *static_cast<const PlayerItem*>(item); }

}  // namespace

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

PlayerList::PlayerList(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(1 + kSubItemColumns);
  setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Frags"), QStringLiteral("Deaths"), QStringLiteral("Ping")});
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);  // the list sorts itself; the header is no sort control
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

void PlayerList::ClearRows() {
  clear();
  lastRow_ = nullptr;
}

void PlayerList::AddRow(const std::string& caption) {
  auto* row = new PlayerItem(caption);
  addTopLevelItem(row);
  sortItems(0, Qt::AscendingOrder);
  lastRow_ = row;
}

void PlayerList::AppendSubItem(const std::string& text) {
  // The row may have been removed since; compare the pointer before using it.
  if (lastRow_ == nullptr || indexOfTopLevelItem(lastRow_) < 0) {
    lastRow_ = nullptr;
    return;
  }
  static_cast<PlayerItem*>(lastRow_)->AppendSubItem(text);
}

int PlayerList::RowCount() const { return topLevelItemCount(); }

std::vector<PlayerRow> PlayerList::Rows() const {
  std::vector<PlayerRow> rows;
  rows.reserve(static_cast<std::size_t>(topLevelItemCount()));
  for (int index = 0; index < topLevelItemCount(); ++index) {
    const PlayerItem& item = AsPlayer(topLevelItem(index));
    rows.push_back(PlayerRow{item.Caption(), item.SubItems()});
  }
  return rows;
}

std::optional<std::string> PlayerList::SelectedCaption() const {
  const QList<QTreeWidgetItem*> selected = selectedItems();
  if (selected.isEmpty()) {
    return std::nullopt;
  }
  return AsPlayer(selected.front()).Caption();
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

void PlayerList::FitColumns() {
  const std::vector<int> widths = ShareColumnWidths(viewport()->width(), Limits());
  for (std::size_t column = 0; column < widths.size(); ++column) {
    header()->resizeSection(static_cast<int>(column), widths[column]);
  }
}

}  // namespace kestrova
