// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/display_model.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/query_window.h"

namespace kestrova::test {
namespace {

using enum ShownLabel;

TEST(DisplayModel, StartsWithTheCaptionsAndTheProgramsName) {
  const DisplayModel shown;
  std::set<ShownLabel> read;
  for (const ShownLabel label : DisplayModel::ReadingOrder()) {
    read.insert(label);
    EXPECT_EQ(shown.Label(label), std::string(DisplayModel::Key(label)) + ":");
    EXPECT_EQ(shown.Value(label), std::nullopt);
  }
  EXPECT_EQ(read.size(), static_cast<std::size_t>(kShownLabelCount));
  EXPECT_EQ(shown.Label(MaxClients), "sv_maxclients:");
  EXPECT_EQ(shown.Hint(), "Kestrova");
  EXPECT_EQ(shown.RowCount(), 0u);
  EXPECT_TRUE(shown.InfoList().empty() && shown.StatusList().empty());
}

// Each change is told once; a write that changes nothing tells nothing.
TEST(DisplayModel, ShowsValuesAndTheHintAndTellsOnlyChanges) {
  QueryWindow window;
  DisplayModel& shown = window.shown;

  shown.SetValue(Clients, "3");
  shown.SetValue(Clients, "3");
  shown.SetValue(MapName, "");
  shown.ShowLabelsInHint();
  shown.ShowLabelsInHint();
  shown.ReplaceRows({{" a", {"1"}}});
  shown.ReplaceRows({{" a", {"1"}}});

  EXPECT_EQ(shown.Label(Clients), "clients: 3");
  EXPECT_EQ(shown.Value(Clients), "3");
  EXPECT_EQ(shown.Value(MapName), "");
  // Line feed before carriage return, as the tray has always shown it.
  EXPECT_EQ(shown.Hint(), "Kestrova by ZLX\n\rclients: 3\n\rmapname: ");
  EXPECT_EQ(window.calls, (std::vector<std::string>{"Label 6", "Label 7", "Hint", "Rows"}));
}

// The list order: alphabetical, case deciding only between names otherwise
// equal (lower case first), rows of equal captions in the reply's order,
// also when a reply lists the same captions as the one before.
struct OrderCase {
  const char* rule;
  std::vector<std::vector<PlayerRow>> replies;
  std::vector<PlayerRow> listed;
};

class RowOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(RowOrderTest, ListsTheRowsSorted) {
  DisplayModel shown;
  for (const std::vector<PlayerRow>& reply : GetParam().replies) {
    shown.ReplaceRows(reply);
    EXPECT_EQ(shown.RowsInReplyOrder(), reply) << GetParam().rule;
  }
  EXPECT_EQ(shown.Rows(), GetParam().listed) << GetParam().rule;
  ASSERT_EQ(shown.RowCount(), GetParam().listed.size());
  for (std::size_t place = 0; place < shown.RowCount(); ++place) {
    EXPECT_EQ(shown.Row(place), GetParam().listed[place]) << GetParam().rule;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RowOrderTest,
    ::testing::Values(OrderCase{"case last",
                                {{{" Bob", {}}, {" alice", {}}, {" Alice", {}}, {" carl", {}}, {" ", {}}}},
                                {{" ", {}}, {" alice", {}}, {" Alice", {}}, {" Bob", {}}, {" carl", {}}}},
                      OrderCase{"equal captions in the reply's order",
                                {{{" x", {"1"}}, {" a", {}}, {" x", {"2"}}}},
                                {{" a", {}}, {" x", {"1"}}, {" x", {"2"}}}},
                      OrderCase{
                          "the same captions again, the twins swapped",
                          {{{" x", {"1"}}, {" b", {}}, {" x", {"2"}}}, {{" x", {"2"}}, {" b", {"9"}}, {" x", {"1"}}}},
                          {{" b", {"9"}}, {" x", {"2"}}, {" x", {"1"}}}},
                      OrderCase{"other captions are sorted afresh",
                                {{{" b", {}}, {" a", {}}}, {{" d", {}}, {" c", {}}}},
                                {{" c", {}}, {" d", {}}}},
                      OrderCase{"no rows", {{{" a", {}}}, {}}, {}}));

}  // namespace
}  // namespace kestrova::test
