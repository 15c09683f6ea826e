#include "ui/program_icon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <array>

// The resources of a static library are registered only when called for,
// and only from outside any namespace.
static void RegisterIconResource() { Q_INIT_RESOURCE(kestrova); }

namespace kestrova {

QIcon ProgramIcon() {
  static const bool registered = (RegisterIconResource(), true);
  (void)registered;
  QSvgRenderer renderer(QStringLiteral(":/kestrova.svg"));
  if (!renderer.isValid()) {
    return {};
  }
  QIcon icon;
  for (const int size : std::array{16, 22, 24, 32, 48, 64, 128, 256}) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

}  // namespace kestrova
