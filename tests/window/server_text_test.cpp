// SPDX-License-Identifier: GPL-3.0-or-later
// Texts from the server are data: markup in a host or map name shows as the
// characters it is made of, blanks included, in the labels and in the tray
// icon's tip.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QToolTip>

#include "support/sim_server.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

// Whether `label` is drawn as it is when made to take its text as plain
// text.
bool DrawnAsPlainText(QLabel& label) {
  const QImage drawn = label.grab().toImage();
  const Qt::TextFormat format = label.textFormat();
  label.setTextFormat(Qt::PlainText);
  const QImage plain = label.grab().toImage();
  label.setTextFormat(format);
  return drawn == plain;
}

// The label of the tool tip on show.
QLabel* ShownToolTip() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->inherits("QTipLabel")) {
      return static_cast<QLabel*>(window);
    }
  }
  return nullptr;
}

class ServerTextTest : public WindowTest {};

TEST_F(ServerTextTest, MarkupInHostAndMapNamesIsShownAsText) {
  SimServer server({"--hostname", "<b>x</b>&lt;<font color=red>", "--map", "dm/<i>a</i>&amp;"});
  Open();
  PointAt(server.GamePort(), server.QueryPort());
  ClickStart();
  ASSERT_TRUE(TickUntil([&] { return Form().Label7->text().contains(QStringLiteral("<i>")); }));

  EXPECT_EQ(Form().Label8->text().toStdString(), "hostname:  <b>x</b>&lt;<font color=red>");
  for (QLabel* label : {Form().Label8, Form().Label7}) {
    EXPECT_TRUE(DrawnAsPlainText(*label)) << label->objectName().toStdString() << " takes its text for markup";
  }

  // The tip's first line is the program's own; Qt looks no further when it
  // decides whether a tip is markup.
  ASSERT_FALSE(tray_->tips.empty());
  const QString tip = tray_->tips.back();
  ASSERT_TRUE(tip.contains(QStringLiteral("<i>a</i>&amp;")));
  QToolTip::showText(Form().mapToGlobal(QPoint(20, 20)), tip, &Form());
  QLabel* shown = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (shown = ShownToolTip()) != nullptr; }));
  EXPECT_EQ(shown->text().toStdString(), tip.toStdString());
  EXPECT_TRUE(DrawnAsPlainText(*shown)) << "the tip takes its text for markup";
  QToolTip::hideText();
}

}  // namespace
}  // namespace kestrova::test
