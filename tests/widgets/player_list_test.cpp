#include "ui/player_list.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <numeric>
#include <ostream>

#include "widget_host.h"

namespace kestrova::test {
namespace {

using SubItems = std::vector<std::string>;

std::vector<std::string> Captions(const PlayerList& list) {
  std::vector<std::string> captions;
  for (const PlayerRow& row : list.Rows()) {
    captions.push_back(row.caption);
  }
  return captions;
}

TEST(PlayerList, HasTheFourColumns) {
  PlayerList list;
  ASSERT_EQ(list.columnCount(), 4);
  QTreeWidgetItem* header = list.headerItem();
  EXPECT_EQ(header->text(0), QStringLiteral("Name"));
  EXPECT_EQ(header->text(1), QStringLiteral("Frags"));
  EXPECT_EQ(header->text(2), QStringLiteral("Deaths"));
  EXPECT_EQ(header->text(3), QStringLiteral("Ping"));
}

TEST(PlayerList, KeepsRowsSortedByCaption) {
  PlayerList list;
  list.AddRow(" Bob");
  list.AddRow(" alice");
  EXPECT_EQ(Captions(list), (std::vector<std::string>{" alice", " Bob"}));
  list.AddRow(" Alice");
  list.AddRow(" carl");
  list.AddRow(" ");
  EXPECT_EQ(Captions(list), (std::vector<std::string>{" ", " alice", " Alice", " Bob", " carl"}));
  EXPECT_EQ(list.RowCount(), 5);
}

TEST(PlayerList, SubItemsGoToTheRowAddedLastWhereverItWasSorted) {
  PlayerList list;
  list.AddRow(" zed");
  list.AppendSubItem("1");
  list.AppendSubItem("2");
  list.AppendSubItem("3");
  list.AddRow(" al");
  list.AppendSubItem("12");
  list.AppendSubItem("");  // an empty value is a value
  const std::vector<PlayerRow> expected{{" al", SubItems{"12", ""}}, {" zed", SubItems{"1", "2", "3"}}};
  EXPECT_EQ(list.Rows(), expected);
  EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("12"));
  EXPECT_EQ(list.topLevelItem(1)->text(3), QStringLiteral("3"));
}

TEST(PlayerList, AppendSubItemWithoutARowDoesNothing) {
  PlayerList list;
  list.AppendSubItem("1");
  list.AddRow(" a");
  list.ClearRows();
  list.AppendSubItem("1");
  EXPECT_EQ(list.RowCount(), 0);
}

TEST(PlayerList, CaptionBytesComeBackUnchanged) {
  const std::string caption(" \x80\xA0\xE9\xFF\x7F");
  PlayerList list;
  list.AddRow(caption);
  list.AppendSubItem("\xFE");
  EXPECT_EQ(list.Rows(), (std::vector<PlayerRow>{{caption, SubItems{"\xFE"}}}));
  EXPECT_EQ(list.topLevelItem(0)->text(0), QString::fromUtf16(u" \u0080\u00A0\u00E9\u00FF\u007F"));

  EXPECT_EQ(list.SelectedCaption(), std::nullopt);
  list.topLevelItem(0)->setSelected(true);
  EXPECT_EQ(list.SelectedCaption(), caption);
}

TEST(PlayerList, ClearRowsEndsTheSelection) {
  PlayerList list;
  list.AddRow(" a");
  list.AddRow(" b");
  list.setCurrentItem(list.topLevelItem(1));
  ASSERT_EQ(list.SelectedCaption(), " b");
  list.ClearRows();
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_EQ(list.SelectedCaption(), std::nullopt);
  list.AddRow(" b");
  EXPECT_EQ(list.SelectedCaption(), std::nullopt);
}

TEST(PlayerList, SelectionFollowsItsRowWhenOthersAreSortedIn) {
  PlayerList list;
  list.AddRow(" m");
  list.topLevelItem(0)->setSelected(true);
  list.AddRow(" a");
  list.AddRow(" z");
  EXPECT_EQ(list.SelectedCaption(), " m");
}

// The list shown in a window of its own, 393 pixels wide as in the main
// window.
class ShownPlayerListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list_ = new PlayerList(&window_);
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
  for (int player = 0; player < 40; ++player) {
    list_->AddRow(" player" + std::to_string(player));
  }
  ASSERT_TRUE(WaitFor([&] { return list_->verticalScrollBar()->isVisible(); }));
  EXPECT_TRUE(WaitFor([&] { return list_->viewport()->width() < before && ColumnSum() == list_->viewport()->width(); }))
      << "columns " << ColumnSum() << ", viewport " << list_->viewport()->width();
  EXPECT_EQ(list_->columnWidth(3), 50);
}

TEST_F(ShownPlayerListTest, DoubleClickOnARowSelectsItAndReports) {
  list_->AddRow(" alice");
  list_->AddRow(" Bob");
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
