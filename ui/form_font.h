// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <string>

class QLabel;
class QWidget;

namespace kestrova {

// The window's face: "MS Sans Serif" at 8 point where it exists, else the
// nearest sans-serif face at that size.
QFont FormFont(int pointSize = 8, bool bold = false);

// Gives a widget its own palette colour for text (the coloured labels).
void SetTextColour(QWidget* widget, const QColor& colour);

// Labels size themselves to their text and are 13 pixels high.
void FitLabelToText(QLabel* label);

// Shows the bytes `text` in `label` and fits the label to it, unless the
// label shows that text already: an unchanged label is neither measured nor
// repainted.
void ShowLabelText(QLabel* label, const std::string& text);

}  // namespace kestrova
