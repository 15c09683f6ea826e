// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/item_text_painter.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

namespace kestrova {

bool PaintPlainItemText(QPainter* painter, const QStyleOptionViewItem& cell) {
  const QWidget* widget = cell.widget;
  QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  // Other styles may draw items their own way.
  if (style->name() != QLatin1String("fusion") || (cell.features & ~QStyleOptionViewItem::HasDisplay) != 0 ||
      (cell.state & (QStyle::State_HasFocus | QStyle::State_Editing)) != 0 || !cell.showDecorationSelected ||
      cell.text.isEmpty()) {
    return false;
  }
  // The text's place inside the cell, its line and its position as the
  // style works them out.
  const int textMargin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QRect textRect = cell.rect.adjusted(textMargin, 0, -textMargin, 0);
  QTextOption textOption;
  textOption.setWrapMode(QTextOption::ManualWrap);
  textOption.setTextDirection(cell.direction);
  textOption.setAlignment(QStyle::visualAlignment(cell.direction, cell.displayAlignment));
  QTextLayout layout(cell.text, cell.font);
  layout.setTextOption(textOption);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (line.isValid()) {
    line.setLineWidth(textRect.width());
    line.setPosition(QPointF(0, 0));
  }
  const bool oneLine = line.isValid() && !layout.createLine().isValid();
  layout.endLayout();
  if (!oneLine || line.naturalTextWidth() > textRect.width()) {
    return false;  // the style cuts it short, or it has several lines
  }
  const QRect layoutRect = QStyle::alignedRect(Qt::LayoutDirectionAuto, cell.displayAlignment,
                                               layout.boundingRect().size().toSize(), textRect);
  if (line.height() + layoutRect.top() <= textRect.top()) {
    return false;
  }

  painter->save();
  painter->setClipRegion(painter->hasClipping() ? painter->clipRegion() & cell.rect : QRegion(cell.rect));
  style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, widget);
  QPalette::ColorGroup group = (cell.state & QStyle::State_Enabled) != 0 ? QPalette::Normal : QPalette::Disabled;
  if (group == QPalette::Normal && (cell.state & QStyle::State_Active) == 0) {
    group = QPalette::Inactive;
  }
  const bool selected = (cell.state & QStyle::State_Selected) != 0;
  painter->setPen(cell.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  layout.draw(painter, QPointF(textRect.x(), layoutRect.top()));
  painter->restore();
  return true;
}

}  // namespace kestrova
