// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace kestrova {

// A label that looks like a link (the palette's link colour, underlined,
// hand cursor) and reports a left click. Assistive technology sees a link
// whose "press" action reports a click as well.
class LinkLabel final : public QLabel {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(LinkLabel)

 public:
  explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

 Q_SIGNALS:
  void Clicked();

 protected:
  void changeEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void FollowLinkColour();
};

}  // namespace kestrova
