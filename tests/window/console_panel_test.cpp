// SPDX-License-Identifier: GPL-3.0-or-later
// The console panel: its toggle, the command line's pre-fill rule, and
// commands with their printed replies.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include "support/sim_server.h"
#include "support/udp_peer.h"
#include "ui/console_list.h"
#include "ui/integer_field.h"
#include "ui/text_bytes.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

class ConsolePanelTest : public WindowTest {
 protected:
  void OpenWithPanel() {
    Open();
    QApplication::setActiveWindow(&Form());
    QTest::mouseClick(Form().CheckBox1, Qt::LeftButton);
    ASSERT_TRUE(Form().Edit4->isVisible());
  }

  // Types a command into the command line and presses Enter.
  void Enter(const QString& command) {
    QTest::mouseClick(Form().Edit4, Qt::LeftButton);
    Form().Edit4->setText(command);
    QTest::keyClick(Form().Edit4, Qt::Key_Return);
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < form_->ListBox3->count(); ++i) {
      lines.push_back(FromDisplayText(form_->ListBox3->item(i)->text()));
    }
    return lines;
  }

  bool HasLine(const std::string& wanted) const {
    for (const std::string& line : Lines()) {
      if (line == wanted) {
        return true;
      }
    }
    return false;
  }
};

TEST_F(ConsolePanelTest, TheCheckBoxTogglesThePanelByTheWindowsWidth) {
  Open();
  QTest::mouseClick(Form().CheckBox1, Qt::LeftButton);
  EXPECT_EQ(Form().OuterWidth(), 794);
  for (QWidget* control : {static_cast<QWidget*>(Form().ListBox3), static_cast<QWidget*>(Form().Edit4),
                           static_cast<QWidget*>(Form().Edit5), static_cast<QWidget*>(Form().RadioGroup1)}) {
    EXPECT_TRUE(control->isVisible() && control->isEnabled()) << control->objectName().toStdString();
  }
  QTest::mouseClick(Form().CheckBox1, Qt::LeftButton);
  EXPECT_EQ(Form().OuterWidth(), 403);
  EXPECT_FALSE(Form().RadioGroup1->isVisible());
  EXPECT_FALSE(Form().Edit4->isEnabled());

  // Resized by the user while closed: the next click closes it all the same.
  Form().SetOuterWidth(500);
  QTest::mouseClick(Form().CheckBox1, Qt::LeftButton);
  EXPECT_TRUE(Form().CheckBox1->isChecked());
  EXPECT_EQ(Form().OuterWidth(), 403);
  EXPECT_FALSE(Form().ListBox3->isVisible());
}

TEST_F(ConsolePanelTest, TheCommandLineIsPrefilledWithThePrefix) {
  OpenWithPanel();
  Form().Edit4->setFocus();
  ASSERT_TRUE(WaitUntil([&] { return Form().Edit4->hasFocus(); }));
  EXPECT_EQ(Form().Edit4->text(), QString());  // the placeholder goes

  QTest::mouseClick(Form().Edit5, Qt::LeftButton);
  EXPECT_EQ(Form().Edit5->text(), QString());  // a click empties the prefix field
  QTest::keyClicks(Form().Edit5, QStringLiteral("rcon secret "));
  QTest::keyClicks(Form().Edit4, QStringLiteral("half typed"));
  QTest::mouseClick(Form().Edit4, Qt::LeftButton);
  EXPECT_EQ(Form().Edit4->text(), QStringLiteral("rcon secret "));
  EXPECT_EQ(Form().Edit4->cursorPosition(), 12);
  EXPECT_FALSE(Form().Edit4->hasSelectedText());

  QTest::mouseClick(Form().Edit5, Qt::LeftButton);
  EXPECT_EQ(Form().Edit5->text(), QString());  // the user's own prefix too
}

TEST_F(ConsolePanelTest, OnlyTheExactWordClearEmptiesTheList) {
  UdpPeer server;
  receiveTimeoutMs_ = 200;  // the peer never answers
  OpenWithPanel();
  PointAt(server.Port(), server.Port());
  for (const char* command : {"Clear", " clear", "clear "}) {
    Enter(QString::fromLatin1(command));
    const auto datagram = server.Receive(2000);
    ASSERT_TRUE(datagram.has_value()) << command;
    EXPECT_EQ(*datagram, std::string("\xFF\xFF\xFF\xFF\x02", 5) + command);
  }
  Enter(QStringLiteral("clear"));
  EXPECT_EQ(Form().ListBox3->count(), 0);
  EXPECT_FALSE(server.Receive(300).has_value());
}

TEST_F(ConsolePanelTest, ACommandShowsTheLinesTheServerPrints) {
  SimServer server({"--players", "3", "--password", "secret"});
  OpenWithPanel();
  PointAt(server.GamePort(), server.QueryPort());
  Enter(QStringLiteral("rcon secret say hello"));
  // The byte 01 after the header's FF bytes does not reach the line.
  EXPECT_TRUE(HasLine("console: hello"));
  EXPECT_EQ(Form().Edit4->text(), QString());  // emptied and pre-filled (no prefix)
  // The newest lines are in view.
  const QListWidget* list = Form().ListBox3;
  EXPECT_EQ(list->verticalScrollBar()->value(), list->verticalScrollBar()->maximum());
  EXPECT_GT(list->verticalScrollBar()->maximum(), 0);
}

TEST_F(ConsolePanelTest, ABadGamePortIsReportedAndTheCommandKept) {
  OpenWithPanel();
  Form().Edit2->setText(QStringLiteral("12a"));
  const int lines = Form().ListBox3->count();
  Enter(QStringLiteral("rcon secret status"));
  ASSERT_EQ(errors_.messages.size(), 1u);
  EXPECT_EQ(errors_.messages[0], "'12a' is not a valid integer value");
  EXPECT_EQ(Form().Edit4->text(), QStringLiteral("rcon secret status"));
  EXPECT_EQ(Form().ListBox3->count(), lines);
}

TEST_F(ConsolePanelTest, KillserverDoesNotWait) {
  UdpPeer server;  // never answers
  OpenWithPanel();
  PointAt(server.Port(), server.Port());
  const auto started = std::chrono::steady_clock::now();
  Enter(QStringLiteral("rcon secret killserver"));
  EXPECT_LT(std::chrono::steady_clock::now() - started, 900ms);
  EXPECT_TRUE(server.Receive(1000).has_value());
  EXPECT_EQ(Form().Edit4->text(), QString());
}

TEST_F(ConsolePanelTest, OutputInSeveralDatagramsIsShownWholeUnderItsCommand) {
  SimServer server({"--password", "secret"});
  OpenWithPanel();
  PointAt(server.GamePort(), server.QueryPort());
  Enter(QStringLiteral("clear"));
  Enter(QStringLiteral("rcon secret cmdlist"));
  const std::size_t cmdlistLines = Lines().size();
  EXPECT_GT(cmdlistLines, 150u);
  // Nothing of it is left to appear under the next command.
  Enter(QStringLiteral("rcon secret say next"));
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), cmdlistLines + 1);
  EXPECT_EQ(lines.back(), "console: next");
}

TEST_F(ConsolePanelTest, LateOutputIsShownBeforeTheNextCommandsOutput) {
  SimServer server({"--password", "secret"});
  receiveTimeoutMs_ = 300;
  OpenWithPanel();
  PointAt(server.GamePort(), server.QueryPort());
  Enter(QStringLiteral("clear"));
  server.Control("delay rcon 500");
  Enter(QStringLiteral("rcon secret say first"));
  EXPECT_TRUE(Lines().empty());  // the reply came after the wait
  Pump(400ms);
  server.Control("delay rcon 0");
  Enter(QStringLiteral("rcon secret say second"));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"console: first", "console: second"}));
}

}  // namespace
}  // namespace kestrova::test
