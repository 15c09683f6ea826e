// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/link_label.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace kestrova {
namespace {

// The link as assistive technology sees it: the link role, its text as
// its name, and a "press" action that opens it as a click does.
class LinkLabelAccessible final : public QAccessibleWidget {
 public:
  explicit LinkLabelAccessible(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

  QString text(QAccessible::Text kind) const override {
    QString shown = QAccessibleWidget::text(kind);
    if (shown.isEmpty() && kind == QAccessible::Name) {
      shown = Label().text();
    }
    return shown;
  }

  QStringList actionNames() const override { return QAccessibleWidget::actionNames() << pressAction(); }

  void doAction(const QString& action) override {
    if (action == pressAction()) {
      Q_EMIT Label().Clicked();
    } else {
      QAccessibleWidget::doAction(action);
    }
  }

 private:
  LinkLabel& Label() const { return *static_cast<LinkLabel*>(widget()); }
};

QAccessibleInterface* LinkLabelInterface(const QString& /*className*/, QObject* object) {
  auto* label = qobject_cast<LinkLabel*>(object);
  return label != nullptr ? new LinkLabelAccessible(label) : nullptr;
}

}  // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  static const bool kAccessible = [] {
    QAccessible::installFactory(&LinkLabelInterface);
    return true;
  }();
  (void)kAccessible;
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
