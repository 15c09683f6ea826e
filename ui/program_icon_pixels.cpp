// SPDX-License-Identifier: GPL-3.0-or-later
// A build tool, not part of the window layer: writes a PNG rendering of
// the program's icon as the pixels a QImage of Format_ARGB32_Premultiplied
// holds, row after row with no padding, so that the programs carry the
// sizes they show at every start ready to use instead of decoding PNGs.
//
// Usage: program_icon_pixels INPUT.png OUTPUT
#include <QFile>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s INPUT.png OUTPUT\n", argc > 0 ? argv[0] : "program_icon_pixels");
    return 2;
  }
  const QImage image =
      QImage(QString::fromLocal8Bit(argv[1]), "PNG").convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) {
    std::fprintf(stderr, "program_icon_pixels: cannot read %s as PNG\n", argv[1]);
    return 1;
  }
  QFile output(QString::fromLocal8Bit(argv[2]));
  const qsizetype rowBytes = image.width() * 4;
  bool written = output.open(QIODevice::WriteOnly);
  for (int row = 0; written && row < image.height(); ++row) {
    written = output.write(reinterpret_cast<const char*>(image.constScanLine(row)), rowBytes) == rowBytes;
  }
  if (!written || !output.flush()) {
    std::fprintf(stderr, "program_icon_pixels: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
