// SPDX-License-Identifier: GPL-3.0-or-later
// The window as the user sees it: controls beside and below each other
// without overlapping, the server's settings read column by column with
// the captions the model starts with, and the tab order.
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
#include "ui/link_label.h"
#include "ui/player_list.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

using enum ShownLabel;

// The settings' hues: the counts and limits in blue, the technical values
// in gray, the game in red.
QColor Hue(ShownLabel label) {
  if (label == Clients || label == MaxClients || label == FragLimit || label == TimeLimit) {
    return QColor(0, 0, 255);
  }
  return label == MaxPing || label == Protocol ? QColor(128, 128, 128) : QColor(255, 0, 0);
}

bool LeftOf(const QWidget* a, const QWidget* b) { return a->geometry().right() < b->geometry().left(); }
// Sharing at most the edge row: the layout's check boxes touch what lies under them.
bool Above(const QWidget* a, const QWidget* b) { return a->y() < b->y() && a->geometry().bottom() <= b->y(); }
bool SameRow(const QWidget* a, const QWidget* b) {
  return a->geometry().top() <= b->geometry().bottom() && b->geometry().top() <= a->geometry().bottom();
}

class LayoutTest : public WindowTest {
 protected:
  QWidget* Control(const QString& name) { return Form().findChild<QWidget*>(name, Qt::FindDirectChildrenOnly); }
  QLabel* InfoLabel(ShownLabel label) {
    return Form().findChild<QLabel*>(QStringLiteral("Label%1").arg(static_cast<int>(label)));
  }
};

// The START button covers the update time in its frame until it hides;
// nothing else overlaps, and everything begins inside the window.
TEST_F(LayoutTest, NoControlsOverlap) {
  Open();
  std::vector<QWidget*> shown;
  for (QWidget* control : Form().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control->isVisible()) {
      shown.push_back(control);
    }
  }
  const QStringList covered = {QStringLiteral("Button1"), QStringLiteral("Bevel1"), QStringLiteral("Label15")};
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const QRect place = shown[i]->geometry();
    const std::string name = shown[i]->objectName().toStdString();
    EXPECT_TRUE(place.left() >= 0 && place.left() < Form().width() && place.top() >= 0) << name;
    for (std::size_t j = i + 1; j < shown.size(); ++j) {
      const bool nested = covered.contains(shown[i]->objectName()) && covered.contains(shown[j]->objectName());
      EXPECT_TRUE(nested || !place.intersects(shown[j]->geometry()))
          << name << " and " << shown[j]->objectName().toStdString();
    }
  }
  EXPECT_TRUE(Form().Bevel1->geometry().contains(Form().Label15->geometry()));
  EXPECT_TRUE(Form().Button1->geometry().contains(Form().Bevel1->geometry()));
}

TEST_F(LayoutTest, TheTopRowReadsAddressPortsAndStart) {
  Open();
  const char* row[] = {"Label12", "IPEdit", "Label13", "Edit2", "Label14", "Edit3", "Button1"};
  for (std::size_t i = 1; i < std::size(row); ++i) {
    QWidget* before = Control(QString::fromLatin1(row[i - 1]));
    QWidget* next = Control(QString::fromLatin1(row[i]));
    EXPECT_TRUE(LeftOf(before, next) && SameRow(before, next)) << row[i - 1] << " before " << row[i];
  }
  EXPECT_TRUE(Above(Form().Button1, Form().CheckBox1));
  EXPECT_EQ(Form().CheckBox1->x(), Form().Button1->x());
}

// Column by column, top to bottom, in the model's reading order: the
// model's captions, in their hues, between the top row and the player
// list; the links beside the last column.
TEST_F(LayoutTest, TheSettingsReadColumnByColumnWithTheModelsCaptions) {
  Open();
  const auto& order = DisplayModel::ReadingOrder();
  for (std::size_t i = 0; i < order.size(); ++i) {
    QLabel* label = InfoLabel(order[i]);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdString(), Form().Shown().Label(order[i]));
    EXPECT_EQ(label->text().toStdString(), DisplayModel::InitialCaption(order[i]));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), Hue(order[i])) << label->text().toStdString();
    EXPECT_EQ(label->height(), 13);
    EXPECT_TRUE(Above(Form().IPEdit, label) && Above(label, Form().ListView1));
    if (i > 0) {
      QLabel* before = InfoLabel(order[i - 1]);
      EXPECT_TRUE((label->x() == before->x() && Above(before, label)) || LeftOf(before, label))
          << before->text().toStdString() << " then " << label->text().toStdString();
    }
  }
  for (const auto& [link, beside] : {std::pair{Form().Label16, MaxPing}, std::pair{Form().Label17, Protocol}}) {
    EXPECT_TRUE(LeftOf(InfoLabel(beside), link));
    EXPECT_EQ(link->y(), InfoLabel(beside)->y());
  }
  EXPECT_EQ(Form().windowTitle(), QString::fromLatin1(kProgramTitle));
}

TEST_F(LayoutTest, TheOtherCaptionsAndStartValues) {
  Open();
  const std::pair<QLabel*, const char*> captions[] = {
      {Form().Label12, "IP"}, {Form().Label13, "hostport"}, {Form().Label14, "queryport"}};
  for (const auto& [label, text] : captions) {
    EXPECT_EQ(label->text(), QString::fromLatin1(text));
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
  EXPECT_EQ(Form().Timer1->Interval(), 500);
  EXPECT_FALSE(Form().Timer1->Active());
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
  const auto colour = [](const QLabel* label) { return label->palette().color(QPalette::WindowText); };
  for (const QPalette& palette : palettes) {
    QApplication::setPalette(palette);
    const bool dark = &palette == &palettes[0];
    // Not ASSERT: the light palette must come back for the tests after.
    EXPECT_TRUE(WaitUntil([&] {
      return colour(Form().Label16) == palette.color(QPalette::Link) && (colour(Form().Label8) == Qt::red) != dark;
    }));
    for (const ShownLabel label : DisplayModel::ReadingOrder()) {
      if (dark) {
        EXPECT_GE(ContrastRatio(colour(InfoLabel(label)), palette.color(QPalette::Window)), kDarkContrast);
      } else {
        EXPECT_EQ(colour(InfoLabel(label)), Hue(label));
      }
    }
    EXPECT_EQ(colour(Form().Label17), palette.color(QPalette::Link));
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
  EXPECT_TRUE(Form().IPEdit->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == Form().IPEdit);
}

// Opened, the console fills the part the window widens by: its output,
// under it the prefix at its right, the command line as wide as the
// output, then the maps.
TEST_F(LayoutTest, TheConsoleOpensBesideTheServer) {
  Open();
  const int compactWidth = Form().width();
  QTest::mouseClick(Form().CheckBox1, Qt::LeftButton);
  QWidget* const panel[] = {Form().ListBox3, Form().Edit5, Form().Edit4, Form().RadioGroup1};
  for (std::size_t i = 0; i < std::size(panel); ++i) {
    EXPECT_TRUE(panel[i]->isVisible());
    EXPECT_GE(panel[i]->x(), compactWidth) << panel[i]->objectName().toStdString();
    EXPECT_LT(panel[i]->geometry().right(), Form().width()) << panel[i]->objectName().toStdString();
    if (i > 0) {
      EXPECT_TRUE(Above(panel[i - 1], panel[i])) << panel[i]->objectName().toStdString();
    }
  }
  EXPECT_EQ(Form().Edit5->geometry().right(), Form().ListBox3->geometry().right());
  EXPECT_GT(Form().Edit5->x(), Form().ListBox3->x());
  EXPECT_EQ(Form().Edit4->x(), Form().ListBox3->x());
  EXPECT_EQ(Form().Edit4->width(), Form().ListBox3->width());
  EXPECT_EQ(Form().RadioGroup1->x(), Form().ListBox3->x());
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

// The list spans the compact window under the settings and ends a fixed
// margin above the window's bottom edge, whatever its height.
TEST_F(LayoutTest, ThePlayerListFollowsTheWindowsHeight) {
  Open();
  EXPECT_EQ(Form().ListView1->x(), 0);
  EXPECT_LE(Form().ListView1->geometry().right(), Form().width());
  EXPECT_EQ(Form().ListView1->height(), 591 - 197);
  Form().resize(Form().width(), 700 - 30);
  EXPECT_EQ(Form().ListView1->height(), 700 - 197);
  EXPECT_EQ(Form().ListView1->y(), 168);
}

TEST_F(LayoutTest, TheLogBuildHasItsControlsAndNoMaps) {
  Open(BuildKind::Log);
  EXPECT_EQ(Form().RadioGroup1, nullptr);
  EXPECT_EQ(Form().findChild<QGroupBox*>(QStringLiteral("RadioGroup1")), nullptr);
  EXPECT_EQ(Form().pos(), QPoint(192, 107));
  EXPECT_EQ(Form().OuterHeight(), 577);
  ASSERT_NE(Form().CheckBox2, nullptr);
  // Under the console switch: the log switch, the interval and its unit.
  EXPECT_TRUE(Above(Form().CheckBox1, Form().CheckBox2) && Above(Form().CheckBox2, Form().JvIntegerEdit1));
  EXPECT_EQ(Form().CheckBox2->x(), Form().CheckBox1->x());
  EXPECT_EQ(Form().JvIntegerEdit1->x(), Form().CheckBox1->x());
  EXPECT_TRUE(LeftOf(Form().JvIntegerEdit1, Form().Label18) && SameRow(Form().JvIntegerEdit1, Form().Label18));
  EXPECT_EQ(Form().CheckBox2->text(), QStringLiteral("Log enabled"));
  EXPECT_TRUE(Form().CheckBox2->isChecked());
  EXPECT_EQ(Form().JvIntegerEdit1->text(), QStringLiteral("30"));
  EXPECT_EQ(Form().Label18->text(), QStringLiteral("sec."));
  EXPECT_EQ(Form().ListView1->height(), 577 - 197);
  ASSERT_NE(Form().Log(), nullptr);
  EXPECT_EQ(Form().Log()->Counter(), 0);
}

}  // namespace
}  // namespace kestrova::test
