// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form_font.h"

#include <QLabel>
#include <QStringList>

#include "ui/text_bytes.h"

namespace kestrova {

QFont FormFont(int pointSize, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(pointSize);
  font.setBold(bold);
  return font;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

void FitLabelToText(QLabel* label) { label->resize(label->sizeHint().width(), 13); }

void ShowLabelText(QLabel* label, const std::string& text) {
  const QString shown = ToDisplayText(text);
  if (label->text() == shown) {
    return;
  }
  label->setText(shown);
  FitLabelToText(label);
}

}  // namespace kestrova
