#include "ui/program_icon.h"

#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <array>
#include <map>

namespace kestrova {

namespace {

// The sizes rendered at build time (ui/CMakeLists.txt), smallest first.
constexpr std::array kRenderedSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The sizes the icon offers: what window managers, taskbars and
// notification areas ask for. A window's icon is sent to the window
// system at every offered size when the window is shown.
constexpr std::array kOfferedSizes{16, 22, 24, 32, 48, 64};

QString RenderingPath(int side) { return QStringLiteral(":/icons/%1x%1/kestrova.png").arg(side); }

// The rendering to make a picture of `side` pixels from: the smallest at
// least that large, else the largest.
int SourceSide(int side) {
  const auto found = std::lower_bound(kRenderedSizes.begin(), kRenderedSizes.end(), side);
  return found != kRenderedSizes.end() ? *found : kRenderedSizes.back();
}

// Makes each size asked for from the renderings, once per size.
class RenderedEngine final : public QIconEngine {
 public:
  QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
    if (size.isEmpty()) {
      return {};
    }
    const auto key = std::make_pair(size.width(), size.height());
    auto found = made_.find(key);
    if (found == made_.end()) {
      // Read as PNG without asking the image format plugins first, which
      // would load every one of them (and the SVG renderer with its own).
      QImageReader reader(RenderingPath(SourceSide(std::max(size.width(), size.height()))), "png");
      reader.setAutoDetectImageFormat(false);
      QImage image = reader.read();
      if (image.size() != size) {
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      }
      found = made_.emplace(key, QPixmap::fromImage(std::move(image))).first;
    }
    return found->second;
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = std::min(size.width(), size.height());
    return {side, side};
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (const int side : kOfferedSizes) {
      sizes.append(QSize(side, side));
    }
    return sizes;
  }

  QIconEngine* clone() const override { return new RenderedEngine(*this); }
  QString key() const override { return QStringLiteral("kestrova-rendered"); }

 private:
  std::map<std::pair<int, int>, QPixmap> made_;
};

QIcon MakeIcon() {
  for (const int side : kRenderedSizes) {
    if (!QFile::exists(RenderingPath(side))) {
      return {};
    }
  }
  return QIcon(new RenderedEngine);
}

}  // namespace

QIcon ProgramIcon() {
  static const QIcon icon = MakeIcon();
  return icon;
}

}  // namespace kestrova
