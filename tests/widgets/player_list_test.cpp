// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/player_list.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <numeric>
#include <ostream>

#include "widget_host.h"

namespace kestrova::test {
namespace {

using SubItems = std::vector<std::string>;

// A list that follows its model's rows, as the window wires them.
class Listed final : public DisplayObserver {
 public:
  explicit Listed(QWidget* parent = nullptr) : list(new PlayerList(model, parent)) { model.SetObserver(this); }
  ~Listed() override {
    if (list->parent() == nullptr) {
      delete list;
    }
  }
  Listed(const Listed&) = delete;
  Listed& operator=(const Listed&) = delete;
  void LabelChanged(ShownLabel) override {}
  void HintChanged() override {}
  void RowsChanged() override { list->RowsChanged(); }

  DisplayModel model;
  PlayerList* list;
};

TEST(PlayerList, HasTheFourColumns) {
  Listed listed;
  ASSERT_EQ(listed.list->columnCount(), 4);
  QTreeWidgetItem* header = listed.list->headerItem();
  EXPECT_EQ(header->text(0), QStringLiteral("Name"));
  EXPECT_EQ(header->text(1), QStringLiteral("Frags"));
  EXPECT_EQ(header->text(2), QStringLiteral("Deaths"));
  EXPECT_EQ(header->text(3), QStringLiteral("Ping"));
}

TEST(PlayerList, CaptionBytesComeBackUnchanged) {
  const std::string caption(" \x80\xA0\xE9\xFF\x7F");
  Listed listed;
  PlayerList& list = *listed.list;
  listed.model.ReplaceRows({{caption, SubItems{"\xFE"}}});
  list.ShowRows();
  EXPECT_EQ(list.topLevelItem(0)->text(0), QString::fromUtf16(u" \u0080\u00A0\u00E9\u00FF\u007F"));
  EXPECT_EQ(list.topLevelItem(0)->text(1), QString::fromUtf16(u"\u00FE"));

  EXPECT_EQ(list.SelectedCaption(), std::nullopt);
  list.topLevelItem(0)->setSelected(true);
  EXPECT_EQ(list.SelectedCaption(), caption);
}

// The row " b" stays selected through a refill that holds it again; rows
// left empty (a time-out, even when rows came again before they were
// shown) end the selection and the current row.
TEST(PlayerList, ARefillKeepsTheSelectionUntilTheListIsLeftEmpty) {
  Listed listed;
  PlayerList& list = *listed.list;
  listed.model.ReplaceRows({{" a", {}}, {" b", {}}});
  list.ShowRows();
  list.setCurrentItem(list.topLevelItem(1));
  ASSERT_EQ(list.SelectedCaption(), " b");
  listed.model.ReplaceRows({{" c", {}}});
  EXPECT_EQ(list.SelectedCaption(), std::nullopt);
  listed.model.ReplaceRows({{" b", {"1"}}});
  EXPECT_EQ(list.SelectedCaption(), " b");
  list.ShowRows();
  EXPECT_EQ(list.SelectedCaption(), " b");
  listed.model.ReplaceRows({});
  listed.model.ReplaceRows({{" b", {}}});
  EXPECT_EQ(list.SelectedCaption(), std::nullopt);
  list.ShowRows();
  EXPECT_TRUE(list.selectedItems().isEmpty());
  EXPECT_EQ(list.currentItem(), nullptr);
}

TEST(PlayerList, SelectionFollowsItsRowWhenOthersAreSortedIn) {
  Listed listed;
  PlayerList& list = *listed.list;
  listed.model.ReplaceRows({{" m", {}}});
  list.ShowRows();
  list.topLevelItem(0)->setSelected(true);
  listed.model.ReplaceRows({{" z", {}}, {" m", {}}, {" a", {}}});
  EXPECT_EQ(list.SelectedCaption(), " m");
  list.ShowRows();
  EXPECT_EQ(list.SelectedCaption(), " m");
  EXPECT_EQ(list.selectedItems().front(), list.topLevelItem(1));
}

// What a cycle leaves on screen after an earlier one: the rows of a list
// emptied and filled anew, whatever was shown before; and only what
// differs is touched.
struct RefillCase {
  const char* change;
  std::vector<PlayerRow> before;
  std::vector<PlayerRow> after;
  int cellsSet;  // texts set on rows that stay
  int inserted;
  int removed;
};

void PrintTo(const RefillCase& refill, std::ostream* out) { *out << refill.change; }

// Every cell's text, row by row, as the list shows it.
std::vector<QStringList> ShownTexts(const PlayerList& list) {
  std::vector<QStringList> rows;
  for (int row = 0; row < list.topLevelItemCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < list.columnCount(); ++column) {
      cells.append(list.topLevelItem(row)->text(column));
    }
    rows.push_back(cells);
  }
  return rows;
}

class RefillTest : public ::testing::TestWithParam<RefillCase> {};

TEST_P(RefillTest, ShowsWhatARebuiltListShowsAndTouchesOnlyTheChanges) {
  const RefillCase& refill = GetParam();
  Listed listed;
  PlayerList& list = *listed.list;
  listed.model.ReplaceRows(refill.before);
  list.ShowRows();
  QSignalSpy cells(list.model(), &QAbstractItemModel::dataChanged);
  QSignalSpy inserted(list.model(), &QAbstractItemModel::rowsInserted);
  QSignalSpy removed(list.model(), &QAbstractItemModel::rowsRemoved);
  QSignalSpy reset(list.model(), &QAbstractItemModel::modelReset);
  QSignalSpy moved(list.model(), &QAbstractItemModel::layoutChanged);
  listed.model.ReplaceRows(refill.after);
  // The screen follows at the event loop's next turn.
  QCoreApplication::processEvents();

  Listed rebuilt;
  rebuilt.model.ReplaceRows(refill.after);
  rebuilt.list->ShowRows();
  EXPECT_EQ(ShownTexts(list), ShownTexts(*rebuilt.list));
  EXPECT_EQ(cells.count(), refill.cellsSet);
  EXPECT_EQ(inserted.count(), refill.inserted);
  EXPECT_EQ(removed.count(), refill.removed);
  EXPECT_EQ(reset.count(), 0);
  EXPECT_EQ(moved.count(), 0);
}

const std::vector<PlayerRow> kThree{
    {" alice", SubItems{"1", "2", "30"}}, {" Bob", SubItems{"3", "4", "40"}}, {" carl", SubItems{"5", "6", "50"}}};

INSTANTIATE_TEST_SUITE_P(
    Changes, RefillTest,
    ::testing::Values(
        RefillCase{"the same rows again: nothing touched", kThree, kThree, 0, 0, 0},
        RefillCase{"the same rows in another reply order", kThree, {kThree[2], kThree[0], kThree[1]}, 0, 0, 0},
        RefillCase{
            "one ping changes: one cell", kThree, {kThree[0], {" Bob", SubItems{"3", "4", "41"}}, kThree[2]}, 1, 0, 0},
        RefillCase{"a player joins in the middle",
                   kThree,
                   {kThree[0], kThree[1], kThree[2], {" bill", SubItems{"0", "0", "99"}}},
                   0,
                   1,
                   0},
        RefillCase{"a player leaves", kThree, {kThree[0], kThree[2]}, 0, 0, 1},
        RefillCase{"a time-out empties the list", kThree, {}, 0, 0, 3},
        RefillCase{"the first reply fills an empty list", {}, kThree, 0, 3, 0},
        RefillCase{"a row cut short by a failure loses its later texts",
                   kThree,
                   {kThree[0], {" Bob", SubItems{"3"}}},
                   2,
                   0,
                   1},
        RefillCase{"a renamed player: one row out, one in",
                   kThree,
                   {kThree[0], {" bob", SubItems{"3", "4", "40"}}, kThree[2]},
                   0,
                   1,
                   1},
        RefillCase{"twins keep their order of arrival",
                   {{" x", SubItems{"1", "1", "1"}}, {" x", SubItems{"2", "2", "2"}}},
                   {{" x", SubItems{"2", "2", "2"}}, {" x", SubItems{"1", "1", "1"}}},
                   6,
                   0,
                   0}));

// The list shown in a window of its own, 393 pixels wide as in the main
// window.
class ShownPlayerListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list_ = listed_.list;
    list_->setGeometry(0, 0, 393, 393);
    window_.resize(393, 393);
    ASSERT_TRUE(ShowActive(window_));
  }

  int ColumnSum() const {
    int sum = 0;
    for (int column = 0; column < list_->columnCount(); ++column) {
      sum += list_->columnWidth(column);
    }
    return sum;
  }

  QWidget window_;
  Listed listed_{&window_};
  DisplayModel& model_ = listed_.model;
  PlayerList* list_ = nullptr;
};

TEST_F(ShownPlayerListTest, ColumnsShareTheWidth) {
  const int width = list_->viewport()->width();
  EXPECT_EQ(list_->columnWidth(1), 50);
  EXPECT_EQ(list_->columnWidth(2), 50);
  EXPECT_EQ(list_->columnWidth(3), 50);
  EXPECT_EQ(list_->columnWidth(0), width - 150);
}

TEST_F(ShownPlayerListTest, ColumnsFollowAResizeAndTheScrollBar) {
  list_->resize(300, 100);
  EXPECT_TRUE(WaitFor([&] { return ColumnSum() == list_->viewport()->width(); }));
  const int before = list_->viewport()->width();
  std::vector<PlayerRow> rows;
  for (int player = 0; player < 40; ++player) {
    rows.push_back({" player" + std::to_string(player), {}});
  }
  model_.ReplaceRows(rows);
  ASSERT_TRUE(WaitFor([&] { return list_->verticalScrollBar()->isVisible(); }));
  EXPECT_TRUE(WaitFor([&] { return list_->viewport()->width() < before && ColumnSum() == list_->viewport()->width(); }))
      << "columns " << ColumnSum() << ", viewport " << list_->viewport()->width();
  EXPECT_EQ(list_->columnWidth(3), 50);
}

// A cycle that changes cells in several rows and columns, two of them in
// one row with a cell between them, repaints only those cells; the screen
// must end up as a whole repaint draws it. Also when the user had made a
// row current (and selected) in the focused list, which stays so.
TEST_F(ShownPlayerListTest, ChangedCellsEndUpAsAWholeRepaintDrawsThem) {
  const auto fill = [&](int round) {
    std::vector<PlayerRow> rows;
    for (int player = 0; player < 12; ++player) {
      rows.push_back({" player" + std::to_string(player),
                      {std::to_string(player + (player == 3 ? round : 0)), std::to_string(player == 5 ? round : 0),
                       std::to_string(20 + player + round)}});
    }
    model_.ReplaceRows(rows);
  };
  const auto shown = [&] { return window_.screen()->grabWindow(window_.winId()).toImage(); };
  for (const int current : {-1, 3}) {
    fill(0);
    ASSERT_TRUE(WaitFor([&] { return list_->topLevelItemCount() == 12; }));
    if (current >= 0) {
      list_->setFocus();
      list_->setCurrentItem(list_->topLevelItem(current));
    }
    QTest::qWait(50);
    const QImage before = shown();

    fill(current >= 0 ? 9 : 7);
    QTest::qWait(50);
    const QImage changed = shown();
    list_->viewport()->repaint();
    const QImage repainted = shown();
    EXPECT_NE(changed, before) << current;
    EXPECT_EQ(changed, repainted) << current;
  }
}

TEST_F(ShownPlayerListTest, DoubleClickOnARowSelectsItAndReports) {
  model_.ReplaceRows({{" alice", {}}, {" Bob", {}}});
  list_->ShowRows();
  QSignalSpy doubleClicks(list_, &PlayerList::RowDoubleClicked);
  const QPoint onBob = list_->visualItemRect(list_->topLevelItem(1)).center();
  QTest::mouseDClick(list_->viewport(), Qt::LeftButton, Qt::NoModifier, onBob);
  EXPECT_EQ(doubleClicks.count(), 1);
  EXPECT_EQ(list_->SelectedCaption(), " Bob");
}

TEST_F(ShownPlayerListTest, DoubleClickBelowTheRowsStillReports) {
  QSignalSpy doubleClicks(list_, &PlayerList::RowDoubleClicked);
  QTest::mouseDClick(list_->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 300));
  EXPECT_EQ(doubleClicks.count(), 1);
  EXPECT_EQ(list_->SelectedCaption(), std::nullopt);
}

struct WidthCase {
  const char* rule;
  int clientWidth;
  std::vector<ColumnLimits> limits;
  std::vector<int> widths;
};

void PrintTo(const WidthCase& widthCase, std::ostream* out) { *out << widthCase.rule; }

class ShareColumnWidthsTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(ShareColumnWidthsTest, Shares) {
  EXPECT_EQ(ShareColumnWidths(GetParam().clientWidth, GetParam().limits), GetParam().widths) << GetParam().rule;
}

const std::vector<ColumnLimits> kPlayerColumns{{20, 0}, {30, 50}, {30, 50}, {30, 50}};

INSTANTIATE_TEST_SUITE_P(
    Rules, ShareColumnWidthsTest,
    ::testing::Values(
        WidthCase{"393 wide: the three numbers 50, the name the rest", 393, kPlayerColumns, {243, 50, 50, 50}},
        WidthCase{"389 wide (a framed 393)", 389, kPlayerColumns, {239, 50, 50, 50}},
        WidthCase{
            "within every limit: equal shares, the remainder to the first", 170, kPlayerColumns, {44, 42, 42, 42}},
        WidthCase{"narrow: minimums win, the first shared again and clamped", 100, kPlayerColumns, {20, 30, 30, 30}},
        WidthCase{"nothing to share", 0, kPlayerColumns, {20, 30, 30, 30}},
        WidthCase{"no limits: plain shares", 10, {{0, 0}, {0, 0}, {0, 0}}, {4, 3, 3}},
        WidthCase{
            "the remainder goes to the first column still in the pool", 101, {{0, 10}, {0, 0}, {0, 0}}, {10, 46, 45}},
        WidthCase{
            "a column held at its minimum leaves less for the others", 90, {{0, 0}, {0, 0}, {50, 0}}, {20, 20, 50}},
        WidthCase{"no columns", 100, {}, {}}));

}  // namespace
}  // namespace kestrova::test
