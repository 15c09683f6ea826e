// SPDX-License-Identifier: GPL-3.0-or-later
// The captions' colours on light and dark window colours.
#include "ui/caption_colours.h"

#include <gtest/gtest.h>

namespace kestrova::test {
namespace {

TEST(CaptionColour, KeepsTheExactHueOnLightWindowsAndALighterReadableShadeOnDarkOnes) {
  const struct {
    const char* what;
    QColor window;
    bool dark;
  } backgrounds[] = {
      {"white", QColor(255, 255, 255), false},    {"Fusion's light window", QColor(239, 239, 239), false},
      {"mid grey", QColor(128, 128, 128), false}, {"Breeze Dark", QColor(49, 54, 59), true},
      {"Adwaita dark", QColor(53, 53, 53), true}, {"dark blue", QColor(0, 0, 96), true},
      {"black", QColor(0, 0, 0), true},
  };
  for (const auto& background : backgrounds) {
    EXPECT_EQ(IsDark(background.window), background.dark) << background.what;
    for (const QColor& hue : {QColor(255, 0, 0), QColor(0, 0, 255), QColor(128, 128, 128)}) {
      SCOPED_TRACE(std::string(background.what) + ", hue " + hue.name().toStdString());
      const QColor shown = CaptionColour(hue, background.window);
      if (!background.dark) {
        EXPECT_EQ(shown, hue);
        continue;
      }
      EXPECT_GE(ContrastRatio(shown, background.window), kDarkContrast);
      // Lighter, yet the same hue and not white: red stays red, grey grey.
      EXPECT_EQ(shown.hsvHue(), hue.hsvHue());
      EXPECT_TRUE(shown.lightness() >= hue.lightness() && shown != Qt::white) << shown.name().toStdString();
    }
  }
  // WCAG's own figures.
  EXPECT_NEAR(ContrastRatio(Qt::white, Qt::black), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(QColor(128, 128, 128), Qt::white), 3.95, 0.005);
}

}  // namespace
}  // namespace kestrova::test
