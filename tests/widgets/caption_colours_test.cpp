// The captions' colours on light and dark window colours.
#include "ui/caption_colours.h"

#include <gtest/gtest.h>

namespace kestrova::test {
namespace {

struct Background {
  const char* what;
  QColor window;
  bool dark;
};

const Background kBackgrounds[] = {
    {"white", QColor(255, 255, 255), false},
    {"Fusion's light window", QColor(239, 239, 239), false},
    {"a mid grey still reads best in dark text", QColor(128, 128, 128), false},
    {"Breeze Dark", QColor(49, 54, 59), true},
    {"Adwaita dark", QColor(53, 53, 53), true},
    {"a dark blue", QColor(0, 0, 96), true},
    {"black", QColor(0, 0, 0), true},
};

const QColor kHues[] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(128, 128, 128)};

TEST(CaptionColour, KeepsTheExactHueOnLightWindowsAndALighterReadableShadeOnDarkOnes) {
  for (const Background& background : kBackgrounds) {
    EXPECT_EQ(IsDark(background.window), background.dark) << background.what;
    for (const QColor& hue : kHues) {
      SCOPED_TRACE(std::string(background.what) + ", hue " + hue.name().toStdString());
      const QColor shown = CaptionColour(hue, background.window);
      if (!background.dark) {
        EXPECT_EQ(shown, hue);
        continue;
      }
      EXPECT_GE(ContrastRatio(shown, background.window), kDarkContrast);
      EXPECT_GE(shown.lightness(), hue.lightness());
      // The same hue, not white: red stays red, grey stays grey.
      EXPECT_EQ(shown.hsvHue(), hue.hsvHue());
      EXPECT_NE(shown, QColor(Qt::white));
    }
  }
}

TEST(CaptionColour, ContrastFollowsTheWcagFormula) {
  EXPECT_NEAR(ContrastRatio(Qt::white, Qt::black), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(QColor(128, 128, 128), Qt::white), 3.95, 0.005);
  // The fixed blue on Adwaita's dark window: nearly invisible.
  EXPECT_NEAR(ContrastRatio(QColor(0, 0, 255), QColor(53, 53, 53)), 1.43, 0.005);
}

}  // namespace
}  // namespace kestrova::test
