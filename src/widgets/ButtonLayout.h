#pragma once

#include "widgets/ButtonTypes.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace tx {

struct ButtonLayoutResult {
    QPoint glyphPos;
    QRect textRect;
};

// Places a glyph image and a one-line caption in a button's client area. A margin of -1
// centres the pair; a spacing of -1 spreads glyph and text evenly.
ButtonLayoutResult calcButtonLayout(const QRect& client, QPoint offset, QSize glyphSize,
                                    QSize textSize, TButtonLayout layout, int margin, int spacing);

} // namespace tx
