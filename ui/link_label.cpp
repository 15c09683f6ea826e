#include "ui/link_label.h"

#include <QMouseEvent>

namespace kestrova {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  QFont underlined = font();
  underlined.setUnderline(true);
  setFont(underlined);
  FollowLinkColour();
  setCursor(Qt::PointingHandCursor);
}

void LinkLabel::FollowLinkColour() {
  // Only the text colour is the label's own; every other colour, the link
  // colour too, still comes from the window. An unchanged palette sends no
  // new PaletteChange.
  QPalette link;
  link.setColor(QPalette::WindowText, palette().color(QPalette::Link));
  setPalette(link);
}

void LinkLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) FollowLinkColour();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    Q_EMIT Clicked();
  }
}

}  // namespace kestrova
