// The window's controls at their places, with their captions and tab order.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "ui/address_field.h"
#include "ui/caption_colours.h"
#include "ui/integer_field.h"
#include "ui/player_list.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

struct Placement {
  const char* name;
  QRect geometry;
};

// Controls with a fixed size (labels size themselves; only their place counts).
const Placement kSizedControls[] = {
    {"IPEdit", {16, 2, 92, 21}},      {"Edit2", {152, 2, 41, 21}},      {"Edit3", {248, 2, 41, 21}},
    {"Button1", {304, 0, 91, 25}},    {"Bevel1", {328, 2, 57, 17}},     {"CheckBox1", {304, 32, 97, 17}},
    {"ListBox3", {400, 2, 385, 287}}, {"Edit5", {590, 292, 195, 21}},   {"Edit4", {400, 316, 385, 21}},
};

const Placement kLabels[] = {
    {"Label12", {2, 5, 0, 13}},    {"Label13", {112, 5, 0, 13}},  {"Label14", {200, 5, 0, 13}},
    {"Label15", {336, 5, 0, 13}},  {"Label8", {2, 34, 0, 13}},    {"Label2", {2, 48, 0, 13}},
    {"Label3", {2, 72, 0, 13}},    {"Label4", {2, 88, 0, 13}},    {"Label7", {2, 104, 0, 13}},
    {"Label6", {2, 128, 0, 13}},   {"Label5", {2, 144, 0, 13}},   {"Label10", {112, 128, 0, 13}},
    {"Label11", {112, 144, 0, 13}}, {"Label1", {198, 128, 0, 13}}, {"Label9", {198, 144, 0, 13}},
    {"Label16", {296, 128, 0, 13}}, {"Label17", {296, 144, 0, 13}},
};

struct Caption {
  const char* name;
  const char* text;
  QColor colour;
};

const Caption kCaptions[] = {
    {"Label12", "IP", {}},
    {"Label13", "hostport", {}},
    {"Label14", "queryport", {}},
    {"Label8", "hostname:", QColor(255, 0, 0)},
    {"Label2", "pure:", QColor(255, 0, 0)},
    {"Label3", "gametypestring:", QColor(255, 0, 0)},
    {"Label4", "gametype:", QColor(255, 0, 0)},
    {"Label7", "mapname:", QColor(255, 0, 0)},
    {"Label6", "clients:", QColor(0, 0, 255)},
    {"Label5", "sv_maxclients:", QColor(0, 0, 255)},
    {"Label10", "fraglimit:", QColor(0, 0, 255)},
    {"Label11", "timelimit:", QColor(0, 0, 255)},
    {"Label1", "maxPing:", QColor(128, 128, 128)},
    {"Label9", "protocol:", QColor(128, 128, 128)},
};

using LayoutTest = WindowTest;

TEST_F(LayoutTest, EveryControlSitsAtItsPlace) {
  Open();
  for (const Placement& control : kSizedControls) {
    auto* widget = Form().findChild<QWidget*>(QString::fromLatin1(control.name));
    ASSERT_NE(widget, nullptr) << control.name;
    EXPECT_EQ(widget->geometry(), control.geometry) << control.name;
  }
  for (const Placement& label : kLabels) {
    auto* widget = Form().findChild<QLabel*>(QString::fromLatin1(label.name));
    ASSERT_NE(widget, nullptr) << label.name;
    EXPECT_EQ(widget->pos(), label.geometry.topLeft()) << label.name;
    EXPECT_EQ(widget->height(), 13) << label.name;
  }
  auto* list = Form().findChild<QWidget*>(QStringLiteral("ListView1"));
  EXPECT_EQ(list->geometry().topLeft(), QPoint(0, 168));
  EXPECT_EQ(list->width(), 393);
  auto* maps = Form().findChild<QGroupBox*>(QStringLiteral("RadioGroup1"));
  ASSERT_NE(maps, nullptr);
  EXPECT_EQ(maps->geometry(), QRect(400, 344, 185, 105));
}

TEST_F(LayoutTest, CaptionsAndColoursAreTheLayouts) {
  Open();
  EXPECT_EQ(Form().windowTitle(), QStringLiteral("Kestrova by ZLX"));
  for (const Caption& caption : kCaptions) {
    auto* label = Form().findChild<QLabel*>(QString::fromLatin1(caption.name));
    ASSERT_NE(label, nullptr) << caption.name;
    EXPECT_EQ(label->text(), QString::fromLatin1(caption.text)) << caption.name;
    if (caption.colour.isValid()) {
      EXPECT_EQ(label->palette().color(QPalette::WindowText), caption.colour) << caption.name;
    }
  }
  EXPECT_EQ(Form().Button1->text(), QStringLiteral("START spy"));
  EXPECT_TRUE(Form().Button1->font().bold());
  EXPECT_EQ(Form().CheckBox1->text(), QStringLiteral("ShowConsole"));
  EXPECT_FALSE(Form().CheckBox1->isChecked());
  EXPECT_EQ(Form().Edit2->text(), QStringLiteral("12203"));
  EXPECT_EQ(Form().Edit3->text(), QStringLiteral("12300"));
  EXPECT_EQ(Form().IPEdit->Address(), 0u);
  EXPECT_EQ(Form().Edit5->text(), QStringLiteral("Always add text from here to commands"));
  EXPECT_EQ(Form().Edit4->text(), QStringLiteral("Type console commands here"));
  EXPECT_TRUE(Form().Label15->text().isEmpty());
  EXPECT_EQ(Form().ListBox3->count(), 22);
  EXPECT_EQ(Form().Timer1->interval(), 500);
  EXPECT_FALSE(Form().Timer1->isActive());
  const QStringList columns = {QStringLiteral("Name"), QStringLiteral("Frags"), QStringLiteral("Deaths"),
                               QStringLiteral("Ping")};
  for (int column = 0; column < columns.size(); ++column) {
    EXPECT_EQ(Form().ListView1->headerItem()->text(column), columns[column]);
  }
  ASSERT_NE(Form().RadioGroup1, nullptr);
  EXPECT_EQ(Form().RadioGroup1->title(), QStringLiteral("Maps"));
  const auto items = Form().RadioGroup1->findChildren<QRadioButton*>();
  ASSERT_EQ(items.size(), 7);
  EXPECT_EQ(items[2]->text(), QStringLiteral("mohdm3 - Remagen "));
  for (const QRadioButton* item : items) {
    EXPECT_FALSE(item->isChecked());
  }
}

TEST_F(LayoutTest, ADarkPaletteWhileRunningLightensTheCaptionsAndTheLinksFollowIt) {
  Open();
  QPalette palettes[] = {QApplication::palette(), QApplication::palette()};
  palettes[0].setColor(QPalette::Window, QColor(49, 54, 59));  // Breeze Dark
  palettes[0].setColor(QPalette::Link, QColor(29, 153, 243));
  const auto colour = [this](const char* name) {
    return Form().findChild<QLabel*>(QString::fromLatin1(name))->palette().color(QPalette::WindowText);
  };
  for (const QPalette& palette : palettes) {
    QApplication::setPalette(palette);
    const bool dark = &palette == &palettes[0];
    // Not ASSERT: the light palette must come back for the tests after.
    EXPECT_TRUE(WaitUntil(
        [&] { return colour("Label16") == palette.color(QPalette::Link) && (colour("Label8") == Qt::red) != dark; }));
    for (const Caption& caption : kCaptions) {
      if (dark && caption.colour.isValid()) {
        EXPECT_GE(ContrastRatio(colour(caption.name), palette.color(QPalette::Window)), kDarkContrast) << caption.name;
      } else if (caption.colour.isValid()) {
        EXPECT_EQ(colour(caption.name), caption.colour) << caption.name;
      }
    }
    EXPECT_EQ(colour("Label17"), palette.color(QPalette::Link));
  }
}

TEST_F(LayoutTest, StartsCompactWithTheConsoleClosedAndTheFocusInTheAddress) {
  Open();
  EXPECT_EQ(Form().OuterWidth(), 403);
  EXPECT_EQ(Form().OuterHeight(), 591);
  EXPECT_EQ(Form().pos(), QPoint(194, 107));
  for (QWidget* control : {static_cast<QWidget*>(Form().ListBox3), static_cast<QWidget*>(Form().Edit4),
                           static_cast<QWidget*>(Form().Edit5)}) {
    EXPECT_FALSE(control->isVisible()) << control->objectName().toStdString();
    EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
  }
  EXPECT_FALSE(Form().RadioGroup1->isVisible());
  EXPECT_TRUE(Form().RadioGroup1->isEnabled());
  EXPECT_TRUE(Form().ListBox1.empty());
  EXPECT_TRUE(Form().ListBox2.empty());
  QApplication::setActiveWindow(&Form());
  ASSERT_TRUE(WaitUntil([&] { return QApplication::focusWidget() != nullptr; }));
  EXPECT_TRUE(Form().IPEdit->isAncestorOf(QApplication::focusWidget()) ||
              QApplication::focusWidget() == Form().IPEdit);
}

// Tab walks CheckBox1, the port fields, around to the address and then
// START: the port fields come after the button in the tab order.
TEST_F(LayoutTest, TabVisitsThePortFieldsAfterTheButton) {
  Open();
  QApplication::setActiveWindow(&Form());
  Form().CheckBox1->setFocus();
  ASSERT_TRUE(WaitUntil([&] { return Form().CheckBox1->hasFocus(); }));
  // The window's own control that holds the focus (the address field's
  // inner fields count as the field).
  const auto focusOwner = [&] {
    QWidget* focused = QApplication::focusWidget();
    while (focused != nullptr && focused->parentWidget() != &Form()) {
      focused = focused->parentWidget();
    }
    return focused == nullptr ? QString() : focused->objectName();
  };
  const char* expected[] = {"Edit2", "Edit3", "IPEdit", "Button1", "CheckBox1"};
  for (const char* name : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(focusOwner(), QString::fromLatin1(name));
  }
}

TEST_F(LayoutTest, ThePlayerListFollowsTheWindowsHeight) {
  Open();
  EXPECT_EQ(Form().ListView1->height(), 591 - 197);
  Form().resize(Form().width(), 700 - 30);
  EXPECT_EQ(Form().ListView1->height(), 700 - 197);
  EXPECT_EQ(Form().ListView1->width(), 393);
  EXPECT_EQ(Form().ListView1->y(), 168);
}

TEST_F(LayoutTest, TheLogBuildHasItsControlsAndNoMaps) {
  Open(BuildKind::Log);
  EXPECT_EQ(Form().RadioGroup1, nullptr);
  EXPECT_EQ(Form().findChild<QGroupBox*>(QStringLiteral("RadioGroup1")), nullptr);
  EXPECT_EQ(Form().pos(), QPoint(192, 107));
  EXPECT_EQ(Form().OuterHeight(), 577);
  ASSERT_NE(Form().CheckBox2, nullptr);
  EXPECT_EQ(Form().CheckBox2->geometry(), QRect(304, 64, 89, 17));
  EXPECT_EQ(Form().CheckBox2->text(), QStringLiteral("Log enabled"));
  EXPECT_TRUE(Form().CheckBox2->isChecked());
  EXPECT_EQ(Form().JvIntegerEdit1->geometry(), QRect(304, 80, 41, 21));
  EXPECT_EQ(Form().JvIntegerEdit1->text(), QStringLiteral("30"));
  EXPECT_EQ(Form().Label18->pos(), QPoint(350, 83));
  EXPECT_EQ(Form().Label18->text(), QStringLiteral("sec."));
  EXPECT_EQ(Form().ListView1->height(), 577 - 197);
  ASSERT_NE(Form().Log(), nullptr);
  EXPECT_EQ(Form().Log()->Counter(), 0);
}

}  // namespace
}  // namespace kestrova::test
