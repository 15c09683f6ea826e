// SPDX-License-Identifier: GPL-3.0-or-later
// Kick by double-click and map change, each after a Yes/No question.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "support/udp_peer.h"
#include "ui/player_list.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

const std::string kHeader("\xFF\xFF\xFF\xFF\x02", 5);

class KickMapTest : public WindowTest {
 protected:
  KickMapTest() { receiveTimeoutMs_ = 200; }  // the peer never answers

  void OpenAt(BuildKind build = BuildKind::Standard) {
    Open(build);
    PointAt(server_.Port(), server_.Port());
  }

  void AddPlayers() {
    form_->Shown().ReplaceRows({{std::string(" Big Al\xE9", 8), {"1", "2", "3"}}, {" bob", {"1", "2", "3"}}});
  }

  void DoubleClickRow(int row) {
    PlayerList* list = form_->ListView1;
    list->ShowRows();
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  }

  QRadioButton* MapItem(int index) {
    return form_->RadioGroup1->findChild<QRadioButton*>(QStringLiteral("RadioGroup1Item%1").arg(index));
  }

  UdpPeer server_;
};

TEST_F(KickMapTest, YesKicksThePlayerTheDialogNamedByteForByte) {
  OpenAt();
  AddPlayers();
  DoubleClickRow(0);  // " Big Al\xE9" sorts first
  ASSERT_EQ(confirmation_.questions.size(), 1u);
  EXPECT_EQ(confirmation_.questions[0], std::string("Kick \" Big Al") + "\xE9\"?");
  const auto datagram = server_.Receive(2000);
  ASSERT_TRUE(datagram.has_value());
  EXPECT_EQ(*datagram, kHeader + "Always add text from here to commands kick  Big Al\xE9");
}

TEST_F(KickMapTest, NoSendsNothingAndAnEmptyListAsksNothing) {
  OpenAt();
  form_->ListView1->setFocus();
  QTest::mouseDClick(form_->ListView1->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_TRUE(confirmation_.questions.empty());
  AddPlayers();
  confirmation_.answers = {false};
  DoubleClickRow(1);
  EXPECT_EQ(confirmation_.questions.size(), 1u);
  EXPECT_FALSE(server_.Receive(300).has_value());
}

TEST_F(KickMapTest, TheKickNamesThePlayerShownEvenIfTheListWasRebuiltMeanwhile) {
  OpenAt();
  form_->Edit5->setText(QString());
  AddPlayers();
  confirmation_.onConfirm = [&] { form_->Shown().ReplaceRows({}); };
  DoubleClickRow(1);
  const auto datagram = server_.Receive(2000);
  ASSERT_TRUE(datagram.has_value());
  EXPECT_EQ(*datagram, kHeader + " kick  bob");
}

TEST_F(KickMapTest, AMapIsChangedOnlyWhenTheSelectionChangesAndYesIsAnswered) {
  OpenAt();
  QTest::mouseClick(form_->CheckBox1, Qt::LeftButton);
  form_->Edit5->setText(QStringLiteral("rcon secret"));
  confirmation_.answers = {false, true};

  QTest::mouseClick(MapItem(2), Qt::LeftButton);
  ASSERT_EQ(confirmation_.questions.size(), 1u);
  EXPECT_EQ(confirmation_.questions[0], "Change map to \"dm/mohdm3\"?");
  EXPECT_FALSE(server_.Receive(300).has_value());
  EXPECT_TRUE(MapItem(2)->isChecked());  // the group keeps showing it

  QTest::mouseClick(MapItem(2), Qt::LeftButton);  // already selected: nothing
  EXPECT_EQ(confirmation_.questions.size(), 1u);

  QTest::mouseClick(MapItem(6), Qt::LeftButton);
  const auto datagram = server_.Receive(2000);
  ASSERT_TRUE(datagram.has_value());
  EXPECT_EQ(*datagram, kHeader + "rcon secret map dm/mohdm7");
  EXPECT_EQ(form_->Edit5->text(), QStringLiteral("rcon secret"));  // the command line rule is not involved
}

// The real question dialog, answered from a timer as a user would.
TEST_F(KickMapTest, TheQuestionDialogAnswersYesOnEnterAndNoOnEscape) {
  MessageBoxConfirmation dialog;
  Open(BuildKind::Standard, Services(dialog, folder_.Path()));
  PointAt(server_.Port(), server_.Port());
  AddPlayers();

  QString seenText;
  QString seenTitle;
  const auto answerWith = [&](Qt::Key key) {
    QTimer::singleShot(200, [&, key] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      seenText = box->text();
      seenTitle = box->windowTitle();
      QTest::keyClick(box, key);
    });
  };
  answerWith(Qt::Key_Escape);
  DoubleClickRow(1);
  EXPECT_EQ(seenTitle, QStringLiteral("Confirm"));
  EXPECT_EQ(seenText, QStringLiteral("Kick \" bob\"?"));
  EXPECT_FALSE(server_.Receive(300).has_value());

  answerWith(Qt::Key_Return);
  DoubleClickRow(1);
  const auto datagram = server_.Receive(2000);
  ASSERT_TRUE(datagram.has_value());
  EXPECT_EQ(*datagram, kHeader + "Always add text from here to commands kick  bob");
  form_.reset();  // before the dialog it was given
}

TEST_F(KickMapTest, TheLogBuildKicksNobody) {
  OpenAt(BuildKind::Log);
  AddPlayers();
  DoubleClickRow(0);
  EXPECT_TRUE(confirmation_.questions.empty());
  EXPECT_FALSE(server_.Receive(300).has_value());
}

}  // namespace
}  // namespace kestrova::test
