// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/program_icon.h"

#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QResource>
#include <algorithm>
#include <array>
#include <map>

namespace kestrova {

namespace {

// The sizes rendered at build time (ui/CMakeLists.txt), smallest first.
constexpr std::array kRenderedSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The sizes the icon offers: what window managers, taskbars and
// notification areas ask for. A window's icon is sent to the window
// system at every offered size when the window is shown, so these are
// carried as ready pixels (premultiplied ARGB32, row after row), the
// larger renderings as PNGs.
constexpr std::array kOfferedSizes{16, 22, 24, 32, 48, 64};

bool Offered(int side) { return std::find(kOfferedSizes.begin(), kOfferedSizes.end(), side) != kOfferedSizes.end(); }

QString RenderingPath(int side) {
  return QStringLiteral(":/icons/%1x%1/kestrova.%2").arg(side).arg(Offered(side) ? u"argb" : u"png");
}

// The rendering of `side` pixels.
QImage Rendering(int side) {
  if (!Offered(side)) {
    // Read as PNG without asking the image format plugins first, which
    // would load every one of them (and the SVG renderer with its own).
    QImageReader reader(RenderingPath(side), "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
  }
  // Stored uncompressed, the bytes are the resource's own, not a copy.
  const QByteArray bytes = QResource(RenderingPath(side)).uncompressedData();
  if (bytes.size() != qsizetype{side} * side * 4) {
    return {};
  }
  return QImage(reinterpret_cast<const uchar*>(bytes.constData()), side, side, side * 4,
                QImage::Format_ARGB32_Premultiplied)
      .copy();
}

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
      QImage image = Rendering(SourceSide(std::max(size.width(), size.height())));
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
