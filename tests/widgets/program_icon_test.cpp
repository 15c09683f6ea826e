// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/program_icon.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

namespace kestrova::test {
namespace {

// The sizes a desktop asks for are offered; larger ones, which the window
// system would be sent at every start, are drawn only when asked for.
TEST(ProgramIcon, OffersTheDesktopsSizes) {
  const QIcon icon = ProgramIcon();
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
}

// 16 and 256 are rendered as they are; 40 is made from the 48 rendering.
TEST(ProgramIcon, ShowsTheDrawingAtRenderedAndOtherSizes) {
  const QIcon icon = ProgramIcon();
  for (const int size : {16, 40, 256}) {
    const QImage image = icon.pixmap(size, size).toImage();
    ASSERT_FALSE(image.isNull()) << size;
    EXPECT_EQ(image.size(), QSize(size, size));
    // Opaque in the middle, transparent in the rounded-off corner.
    EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
  }
}

// The sizes shown at every start are carried as ready pixels: they are the
// build's renderings, pixel for pixel.
TEST(ProgramIcon, OfferedSizesAreTheRenderings) {
  const QIcon icon = ProgramIcon();
  for (const QSize& size : icon.availableSizes()) {
    const QString rendering =
        QStringLiteral(KESTROVA_ICON_FOLDER "/%1x%2/kestrova.png").arg(size.width()).arg(size.height());
    const QImage expected = QImage(rendering).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_FALSE(expected.isNull()) << rendering.toStdString();
    EXPECT_EQ(icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), expected)
        << size.width();
  }
}

}  // namespace
}  // namespace kestrova::test
