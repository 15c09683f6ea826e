// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <utility>
#include <vector>

class QWidget;

namespace kestrova {

// The relative luminance of `colour` as WCAG 2 defines it: 0 for black, 1
// for white.
double RelativeLuminance(const QColor& colour);

// The contrast ratio of two colours as WCAG 2 defines it, 1 to 21.
double ContrastRatio(const QColor& a, const QColor& b);

// Whether `window` is a dark background: light text has more contrast on
// it than dark text.
bool IsDark(const QColor& window);

// The contrast a caption keeps with a dark window (WCAG's level AA).
inline constexpr double kDarkContrast = 4.5;

// The colour of a caption meant to be drawn in `hue` on `window`: `hue`
// itself, exactly, on a light window; on a dark one the least lightened
// shade of it (mixed with white) that reaches kDarkContrast with `window`.
QColor CaptionColour(const QColor& hue, const QColor& window);

// Gives coloured captions the colour CaptionColour chooses for the window
// colour of the palette of `window`, and chooses again whenever that
// palette changes (a dark theme switched on while the program runs).
class CaptionColours final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(CaptionColours)

 public:
  // Belongs to `window`.
  explicit CaptionColours(QWidget* window);

  // Colours `caption` (a child of the window) in `hue`.
  void Add(QWidget* caption, const QColor& hue);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Apply(QWidget* caption, const QColor& hue) const;

  QWidget* window_;
  std::vector<std::pair<QPointer<QWidget>, QColor>> captions_;
  bool pending_ = false;
};

}  // namespace kestrova
