// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyleOptionViewItem>

class QPainter;

namespace kestrova {

// Paints an item view cell that shows one line of text which fits its
// width (no icon, check box, focus frame or editor) as the Fusion style
// paints it, with the pixels the style would give, but laying the text out
// once where the style lays it out three times (to place it, to see
// whether it must be cut short, to draw it). `cell` is the option a
// delegate has filled for the cell. Returns false, having painted nothing,
// for any other cell or style, which the style then paints itself.
bool PaintPlainItemText(QPainter* painter, const QStyleOptionViewItem& cell);

}  // namespace kestrova
