// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>

namespace kestrova::test {
namespace {

struct TextCase {
  const char* rule;
  std::string message;
  std::string shown;
};

void PrintTo(const TextCase& textCase, std::ostream* out) { *out << textCase.rule; }

class ErrorDisplayTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ErrorDisplayTextTest, AppendsADotAfterCharactersThatSortAfterIt) {
  EXPECT_EQ(ErrorDisplayText(GetParam().message), GetParam().shown) << GetParam().rule;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ErrorDisplayTextTest,
    ::testing::Values(TextCase{"empty stays empty", "", ""},
                      TextCase{"a letter", "'' is not a valid integer value", "'' is not a valid integer value."},
                      TextCase{"a digit", "Socket Error # 10061", "Socket Error # 10061."},
                      TextCase{"a slash sorts after the dot", "a/", "a/."},
                      TextCase{"a dot already there", "done.", "done."},
                      TextCase{"a comma sorts before the dot", "a,", "a,"},
                      TextCase{"a quote sorts before the dot", "'abc'", "'abc'"},
                      TextCase{"a closing bracket sorts before the dot", "(x)", "(x)"},
                      TextCase{"a line feed sorts before the dot", "Socket Error # 1\r\n", "Socket Error # 1\r\n"},
                      TextCase{"a high byte compares unsigned", "caf\xE9", "caf\xE9."}));

// Runs `answer` on the next modal message box once it is open and active
// (mnemonics need the active window). A box that never becomes active is
// closed after five seconds so that the test fails instead of hanging.
void OnNextModal(std::function<void(QMessageBox&)> answer) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, answer = std::move(answer), rounds = 0]() mutable {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    const bool ready = box != nullptr && box->isVisible() && QApplication::activeWindow() == box;
    if (!ready && ++rounds <= 500) {
      return;
    }
    poll->stop();
    poll->deleteLater();
    if (ready) {
      answer(*box);
      return;
    }
    ADD_FAILURE() << "no active message box came up";
    if (box != nullptr) {
      box->close();
    }
  });
  poll->start();
}

TEST(MessageBoxErrorDisplay, ShowsTheMessageUnderTheProgramTitle) {
  QWidget owner;
  MessageBoxErrorDisplay display(&owner);
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  qsizetype buttons = 0;
  QWidget* parent = nullptr;
  OnNextModal([&](QMessageBox& box) {
    title = box.windowTitle();
    text = box.text();
    icon = box.icon();
    buttons = box.buttons().size();
    parent = box.parentWidget();
    box.button(QMessageBox::Ok)->click();
  });
  display.ShowError("'<b>x\xE9' is not a valid integer value");
  EXPECT_EQ(title, QStringLiteral("Kestrova"));
  EXPECT_EQ(text, QString::fromUtf16(u"'<b>x\u00E9' is not a valid integer value."));
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(buttons, 1);
  EXPECT_EQ(parent, &owner);
}

TEST(MessageBoxErrorDisplay, ShowsMarkupAsPlainText) {
  MessageBoxErrorDisplay display(nullptr);
  Qt::TextFormat format = Qt::RichText;
  OnNextModal([&](QMessageBox& box) {
    format = box.textFormat();
    QTest::keyClick(&box, Qt::Key_Escape);
  });
  display.ShowError("<b>bold</b>");
  EXPECT_EQ(format, Qt::PlainText);
}

struct AnswerCase {
  const char* rule;
  std::function<void(QMessageBox&)> answer;
  bool confirmed;
};

void PrintTo(const AnswerCase& answerCase, std::ostream* out) { *out << answerCase.rule; }

class MessageBoxConfirmationTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(MessageBoxConfirmationTest, IsTrueOnlyForYes) {
  MessageBoxConfirmation confirmation;
  OnNextModal(GetParam().answer);
  EXPECT_EQ(confirmation.Confirm("Kick \" Bob\"?"), GetParam().confirmed) << GetParam().rule;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MessageBoxConfirmationTest,
    ::testing::Values(
        AnswerCase{"Enter is Yes", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, true},
        AnswerCase{"Esc is No", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, false},
        AnswerCase{"the Yes button", [](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); }, true},
        AnswerCase{"the No button", [](QMessageBox& box) { box.button(QMessageBox::No)->click(); }, false},
        AnswerCase{"Alt+N", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_N, Qt::AltModifier); }, false},
        AnswerCase{"closing the box", [](QMessageBox& box) { box.close(); }, false}));

TEST(MessageBoxConfirmation, AsksWithTheMessageAsItIs) {
  MessageBoxConfirmation confirmation;
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString yes;
  QString no;
  QAbstractButton* defaultButton = nullptr;
  QAbstractButton* yesButton = nullptr;
  bool centred = false;
  OnNextModal([&](QMessageBox& box) {
    title = box.windowTitle();
    text = box.text();
    icon = box.icon();
    yesButton = box.button(QMessageBox::Yes);
    yes = yesButton->text();
    no = box.button(QMessageBox::No)->text();
    defaultButton = box.defaultButton();
    const QRect screen = box.screen()->availableGeometry();
    centred = (box.frameGeometry().center() - screen.center()).manhattanLength() <= 4;
    box.button(QMessageBox::No)->click();
  });
  confirmation.Confirm("Change map to \"dm/mohdm3\"? <\xE9>");
  EXPECT_EQ(title, QStringLiteral("Confirm"));
  EXPECT_EQ(text, QString::fromUtf16(u"Change map to \"dm/mohdm3\"? <\u00E9>"));
  EXPECT_EQ(icon, QMessageBox::Question);
  EXPECT_EQ(yes, QStringLiteral("&Yes"));
  EXPECT_EQ(no, QStringLiteral("&No"));
  EXPECT_EQ(defaultButton, yesButton);
  EXPECT_TRUE(centred);
}

}  // namespace
}  // namespace kestrova::test
