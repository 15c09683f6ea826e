// SPDX-License-Identifier: GPL-3.0-or-later
// kestrova-log against the simulated server: the day's file and its bytes.
#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "support/sim_server.h"
#include "ui/text_bytes.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

class PlayerLogWindowTest : public WindowTest {
 protected:
  // The record the window's rows make, as the file must hold it.
  std::string ExpectedRecord() const {
    std::string record = "07-12-2026 01:05:15\r\n";
    for (const PlayerRow& row : form_->Shown().Rows()) {
      record += row.caption + ";";
      for (const std::string& item : row.subItems) {
        record += item + ";";
      }
      record += "\r\n";
    }
    return record + "\r\n";
  }
};

TEST_F(PlayerLogWindowTest, RecordsThePlayerListEveryIntervalIntoTheDaysFile) {
  SimServer server({"--players", "5"});
  Open(BuildKind::Log);
  PointAt(server.GamePort(), server.QueryPort());
  form_->JvIntegerEdit1->setText(QStringLiteral("1"));  // a record every second cycle
  ClickStart();

  const auto file = folder_ / "0712.csv";
  ASSERT_TRUE(TickUntil([&] { return form_->Log()->Counter() >= 3; }));
  form_->CheckBox2->setChecked(false);  // stop writing, so the file holds what the rows give
  const std::string record = ExpectedRecord();
  EXPECT_EQ(form_->Shown().RowCount(), 5u);
  const std::string bytes = ReadFileBytes(file);
  ASSERT_FALSE(bytes.empty());
  // Every record equals the last one: the players do not move (--static).
  ASSERT_EQ(bytes.size() % record.size(), 0u) << bytes;
  EXPECT_GE(bytes.size() / record.size(), 2u);
  for (std::size_t at = 0; at < bytes.size(); at += record.size()) {
    EXPECT_EQ(bytes.substr(at, record.size()), record);
  }

  // An interval of 0 stops both the writing and the counter.
  form_->CheckBox2->setChecked(true);
  form_->JvIntegerEdit1->setText(QStringLiteral("0"));
  const std::uint16_t counter = form_->Log()->Counter();
  Tick(3);
  EXPECT_EQ(form_->Log()->Counter(), counter);
  EXPECT_EQ(ReadFileBytes(file), bytes);
}

TEST_F(PlayerLogWindowTest, AFileThatCannotBeWrittenLeavesTheCounterAndTheProgramRunning) {
  SimServer server({"--players", "2"});
  std::filesystem::create_directory(folder_ / "0712.csv");
  Open(BuildKind::Log);
  PointAt(server.GamePort(), server.QueryPort());
  ClickStart();
  ASSERT_TRUE(TickUntil([&] { return form_->Shown().RowCount() == 2; }));
  Tick(2);
  // Due at 0, the record fails every time: the counter stays and nothing is shown.
  EXPECT_EQ(form_->Log()->Counter(), 0);
  EXPECT_TRUE(errors_.messages.empty());
  EXPECT_TRUE(form_->Timer1->Active());
}

}  // namespace
}  // namespace kestrova::test
