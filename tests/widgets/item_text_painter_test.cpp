// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/item_text_painter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include "ui/form_font.h"
#include "widget_host.h"

namespace kestrova::test {
namespace {

// A list set up as the player list is, which hands out the options it
// gives its delegate.
class OptionView final : public QTreeWidget {
 public:
  QStyleOptionViewItem OptionFor(QTreeWidgetItem* item, int column, int width) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex index = indexFromItem(item, column);
    option.rect = QRect(0, 0, width, visualRect(index).height());
    Delegate().Fill(&option, index);
    return option;
  }

 private:
  struct Delegate : QStyledItemDelegate {
    void Fill(QStyleOptionViewItem* option, const QModelIndex& index) const { initStyleOption(option, index); }
  };
};

QImage Painted(const QStyleOptionViewItem& option, bool plain, bool* painted) {
  QImage image(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  if (plain) {
    *painted = PaintPlainItemText(&painter, option);
  } else {
    option.widget->style()->drawControl(QStyle::CE_ItemViewItem, &option, &painter, option.widget);
  }
  return image;
}

// Whatever it paints is pixel for pixel what the style paints; what it
// does not paint is left to the style.
TEST(PaintPlainItemText, PaintsWhatTheStylePaintsOrNothing) {
  QWidget window;
  auto* view = new OptionView;
  view->setParent(&window);
  view->setFont(FormFont());
  view->setColumnCount(1);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setGeometry(0, 0, 200, 100);
  auto* item = new QTreeWidgetItem(view);
  ASSERT_TRUE(ShowActive(window));

  const struct {
    const char* name;
    QString text;
    int width;
    QStyle::State on;
    QStyle::State off;
    Qt::Alignment alignment;
    bool plain;
  } cases[] = {
      {"number", QStringLiteral("42"), 40, {}, {}, Qt::AlignLeft | Qt::AlignVCenter, true},
      {"name", QStringLiteral(" Mr. T (Latin-1 \xe9)"), 150, {}, {}, Qt::AlignLeft | Qt::AlignVCenter, true},
      {"selected", QStringLiteral(" alice"), 80, QStyle::State_Selected, {}, Qt::AlignLeft | Qt::AlignVCenter, true},
      {"selected, window inactive", QStringLiteral(" alice"), 80, QStyle::State_Selected, QStyle::State_Active,
       Qt::AlignLeft | Qt::AlignVCenter, true},
      {"disabled", QStringLiteral("7"), 40, {}, QStyle::State_Enabled, Qt::AlignLeft | Qt::AlignVCenter, true},
      {"right aligned", QStringLiteral("123"), 50, {}, {}, Qt::AlignRight | Qt::AlignVCenter, true},
      {"too wide, cut short",
       QStringLiteral(" a very long player name"),
       40,
       {},
       {},
       Qt::AlignLeft | Qt::AlignVCenter,
       false},
      {"two lines", QStringLiteral("two\nlines"), 150, {}, {}, Qt::AlignLeft | Qt::AlignVCenter, false},
      {"focus frame", QStringLiteral("42"), 40, QStyle::State_HasFocus, {}, Qt::AlignLeft | Qt::AlignVCenter, false},
      {"empty", QString(), 40, {}, {}, Qt::AlignLeft | Qt::AlignVCenter, false},
  };
  for (const auto& entry : cases) {
    item->setText(0, entry.text);
    item->setTextAlignment(0, entry.alignment);
    QStyleOptionViewItem option = view->OptionFor(item, 0, entry.width);
    option.state |= entry.on;
    option.state &= ~entry.off;
    bool painted = false;
    const QImage plain = Painted(option, true, &painted);
    EXPECT_EQ(painted, entry.plain) << entry.name;
    if (painted) {
      EXPECT_EQ(plain, Painted(option, false, nullptr)) << entry.name;
    } else {
      QImage untouched(plain.size(), plain.format());
      untouched.fill(Qt::white);
      EXPECT_EQ(plain, untouched) << entry.name;
    }
  }
}

}  // namespace
}  // namespace kestrova::test
