// SPDX-License-Identifier: GPL-3.0-or-later
// The "on enter" handlers of START and the command line run when the focus
// moves to them from another control, not when it only comes back (another
// window or a pop-up had it); the command line's pre-fill survives the line
// edit's select-all; Enter on the focused START button clicks it.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "support/sim_server.h"
#include "support/udp_peer.h"
#include "ui/integer_field.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

class FocusEntryTest : public WindowTest {
 protected:
  FocusEntryTest() { receiveTimeoutMs_ = 200; }  // the commands go to a peer that never answers

  void OpenActive() {
    Open();
    ASSERT_TRUE(MakeActive(Form()));
  }

  static bool MakeActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window, 5000);
  }

  // The focus goes to another window and comes back, as when a message box
  // closes or the user switches windows.
  void SwitchAwayAndBack() {
    QWidget other;
    other.setGeometry(600, 600, 100, 50);
    ASSERT_TRUE(MakeActive(other));
    ASSERT_TRUE(MakeActive(Form()));
  }

  // A pop-up menu opens over the window and closes.
  void PopupOpensAndCloses() {
    QMenu menu(&Form());
    menu.addAction(QStringLiteral("item"));
    menu.popup(Form().mapToGlobal(QPoint(50, 50)));
    ASSERT_TRUE(WaitUntil([&] { return menu.isVisible() && QApplication::activePopupWidget() == &menu; }));
    menu.close();
    ASSERT_TRUE(WaitUntil([&] { return QApplication::activePopupWidget() == nullptr; }));
  }

  void OpenPanel() {
    QTest::mouseClick(Form().CheckBox1, Qt::LeftButton);
    ASSERT_TRUE(Form().Edit4->isVisible());
  }

  std::filesystem::path DataFile() const { return folder_ / "data.dat"; }
};

TEST_F(FocusEntryTest, StartSavesWhenTheFocusMovesToItNotWhenItComesBack) {
  OpenActive();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // from the address to START
  ASSERT_EQ(QApplication::focusWidget(), Form().Button1);
  ASSERT_TRUE(std::filesystem::exists(DataFile()));
  std::filesystem::remove(DataFile());

  SwitchAwayAndBack();
  PopupOpensAndCloses();
  ASSERT_EQ(QApplication::focusWidget(), Form().Button1);
  EXPECT_FALSE(std::filesystem::exists(DataFile())) << "START's focus came back and saved again";

  // Moving away and back by the keyboard is an entry again.
  QTest::keyClick(Form().Button1, Qt::Key_Tab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  ASSERT_EQ(QApplication::focusWidget(), Form().Button1);
  EXPECT_TRUE(std::filesystem::exists(DataFile()));
}

TEST_F(FocusEntryTest, AHalfTypedCommandSurvivesTheFocusComingBack) {
  OpenActive();
  OpenPanel();
  QTest::mouseClick(Form().Edit4, Qt::LeftButton);
  QTest::keyClicks(Form().Edit4, QStringLiteral("rcon pw sta"));

  SwitchAwayAndBack();
  PopupOpensAndCloses();
  ASSERT_EQ(QApplication::focusWidget(), Form().Edit4);
  EXPECT_EQ(Form().Edit4->text(), QStringLiteral("rcon pw sta"));
}

// However the focus comes to the command line, the pre-fill leaves the
// caret after the prefix with nothing selected: what is typed next is
// added to the prefix.
struct EntryCase {
  const char* name;
  std::function<void(TForm1&)> enter;
};

void PrintTo(const EntryCase& entry, std::ostream* out) { *out << entry.name; }

class CommandLineEntryTest : public FocusEntryTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(CommandLineEntryTest, TypingAfterThePrefillAddsToThePrefix) {
  UdpPeer server;
  OpenActive();
  PointAt(server.Port(), server.Port());
  OpenPanel();
  QTest::mouseClick(Form().Edit5, Qt::LeftButton);
  QTest::keyClicks(Form().Edit5, QStringLiteral("rcon pw "));

  GetParam().enter(Form());
  ASSERT_EQ(QApplication::focusWidget(), Form().Edit4);
  EXPECT_EQ(Form().Edit4->text(), QStringLiteral("rcon pw "));
  EXPECT_FALSE(Form().Edit4->hasSelectedText());
  QTest::keyClicks(Form().Edit4, QStringLiteral("status"));
  QTest::keyClick(Form().Edit4, Qt::Key_Return);
  EXPECT_EQ(server.Receive(), std::string("\xFF\xFF\xFF\xFF\x02", 5) + "rcon pw status");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CommandLineEntryTest,
    ::testing::Values(EntryCase{"TabFromThePrefixField",
                                [](TForm1& form) { QTest::keyClick(form.Edit5, Qt::Key_Tab); }},
                      EntryCase{"BacktabFromTheGamePort",
                                [](TForm1& form) {
                                  form.Edit2->setFocus(Qt::MouseFocusReason);
                                  QTest::keyClick(form.Edit2, Qt::Key_Backtab);
                                }},
                      EntryCase{"Mouse", [](TForm1& form) { QTest::mouseClick(form.Edit4, Qt::LeftButton); }}),
    [](const ::testing::TestParamInfo<EntryCase>& info) { return std::string(info.param.name); });

class StartKeyTest : public FocusEntryTest, public ::testing::WithParamInterface<Qt::KeyboardModifiers> {};

TEST_P(StartKeyTest, EnterOnTheFocusedStartButtonClicksIt) {
  SimServer server;
  OpenActive();
  PointAt(server.GamePort(), server.QueryPort());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), Form().Button1);

  QTest::keyClick(Form().Button1, GetParam() == Qt::KeypadModifier ? Qt::Key_Enter : Qt::Key_Return, GetParam());
  EXPECT_TRUE(WaitUntil([&] { return Form().Timer1->Active() && !Form().Button1->isVisible(); }));
}

INSTANTIATE_TEST_SUITE_P(Keys, StartKeyTest,
                         ::testing::Values(Qt::KeyboardModifiers(Qt::NoModifier),
                                           Qt::KeyboardModifiers(Qt::KeypadModifier)),
                         [](const ::testing::TestParamInfo<Qt::KeyboardModifiers>& info) {
                           return std::string(info.param == Qt::KeypadModifier ? "KeypadEnter" : "Return");
                         });

}  // namespace
}  // namespace kestrova::test
