#include "ui/program_icon.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <algorithm>
#include <array>
#include <map>
#include <memory>

// The resources of a static library are registered only when called for,
// and only from outside any namespace.
static void RegisterIconResource() { Q_INIT_RESOURCE(kestrova); }

namespace kestrova {

namespace {

// The sizes the icon offers: what window managers, taskbars and
// notification areas ask for. A window's icon is sent to the window
// system at every offered size when the window is shown.
constexpr std::array kOfferedSizes{16, 22, 24, 32, 48, 64};

// Draws the embedded drawing at the size asked for, once per size.
class DrawingEngine final : public QIconEngine {
 public:
  explicit DrawingEngine(std::shared_ptr<QSvgRenderer> drawing) : drawing_(std::move(drawing)) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
    const auto key = std::make_pair(size.width(), size.height());
    auto found = drawn_.find(key);
    if (found == drawn_.end()) {
      QImage image(size, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::transparent);
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      drawing_->render(&painter);
      painter.end();
      found = drawn_.emplace(key, QPixmap::fromImage(image)).first;
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

  QIconEngine* clone() const override { return new DrawingEngine(*this); }
  QString key() const override { return QStringLiteral("kestrova-drawing"); }

 private:
  std::shared_ptr<QSvgRenderer> drawing_;
  std::map<std::pair<int, int>, QPixmap> drawn_;
};

QIcon MakeIcon() {
  RegisterIconResource();
  auto drawing = std::make_shared<QSvgRenderer>(QStringLiteral(":/kestrova.svg"));
  if (!drawing->isValid()) {
    return {};
  }
  return QIcon(new DrawingEngine(std::move(drawing)));
}

}  // namespace

QIcon ProgramIcon() {
  static const QIcon icon = MakeIcon();
  return icon;
}

}  // namespace kestrova
