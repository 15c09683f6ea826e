// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/caption_colours.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "ui/form_font.h"

namespace kestrova {

namespace {

double Linear(int channel) {
  const double value = channel / 255.0;
  return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

// `from` moved `step` 255ths of the way to white.
QColor Lightened(const QColor& from, int step) {
  const auto towards = [step](int channel) { return channel + ((255 - channel) * step + 127) / 255; };
  return QColor(towards(from.red()), towards(from.green()), towards(from.blue()));
}

}  // namespace

double RelativeLuminance(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return 0.2126 * Linear(rgb.red()) + 0.7152 * Linear(rgb.green()) + 0.0722 * Linear(rgb.blue());
}

double ContrastRatio(const QColor& a, const QColor& b) {
  const double first = RelativeLuminance(a);
  const double second = RelativeLuminance(b);
  return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

bool IsDark(const QColor& window) { return ContrastRatio(window, Qt::white) > ContrastRatio(window, Qt::black); }

QColor CaptionColour(const QColor& hue, const QColor& window) {
  const QColor rgb = hue.toRgb();
  if (!IsDark(window)) return rgb;
  // White itself has more than kDarkContrast with any dark window colour.
  for (int step = 0; step < 255; ++step) {
    const QColor shade = Lightened(rgb, step);
    if (ContrastRatio(shade, window) >= kDarkContrast) return shade;
  }
  return QColor(Qt::white);
}

CaptionColours::CaptionColours(QWidget* window) : QObject(window), window_(window) {
  window_->installEventFilter(this);
}

void CaptionColours::Add(QWidget* caption, const QColor& hue) {
  captions_.emplace_back(caption, hue);
  Apply(caption, hue);
}

void CaptionColours::Apply(QWidget* caption, const QColor& hue) const {
  SetTextColour(caption, CaptionColour(hue, window_->palette().color(QPalette::Window)));
}

bool CaptionColours::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == window_ && (type == QEvent::PaletteChange || type == QEvent::ApplicationPaletteChange) && !pending_) {
    // The window takes a new application palette only after this event, so
    // the colours are chosen once the events have run.
    pending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          pending_ = false;
          for (const auto& [caption, hue] : captions_) {
            if (caption) Apply(caption, hue);
          }
        },
        Qt::QueuedConnection);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kestrova
