#include "widgets/ButtonLayout.h"

namespace tx {

ButtonLayoutResult calcButtonLayout(const QRect& client, QPoint offset, QSize glyphSize,
                                    QSize textSize, TButtonLayout layout, int margin, int spacing) {
    const bool horizontal =
        layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
    const QSize c = client.size();
    QPoint glyph, text;

    // Across the layout's axis both are centred.
    if (horizontal) {
        glyph.setY((c.height() - glyphSize.height() + 1) / 2);
        text.setY((c.height() - textSize.height() + 1) / 2);
    } else {
        glyph.setX((c.width() - glyphSize.width() + 1) / 2);
        text.setX((c.width() - textSize.width() + 1) / 2);
    }

    const int axis = horizontal ? c.width() : c.height();
    const int g = horizontal ? glyphSize.width() : glyphSize.height();
    const int t = horizontal ? textSize.width() : textSize.height();
    if (textSize.isEmpty() || glyphSize.isEmpty())
        spacing = 0;
    if (margin == -1 && spacing == -1) {
        margin = (axis - g - t) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (axis - (g + spacing + t) + 1) / 2;
    } else if (spacing == -1) {
        spacing = (axis - margin - g - t) / 2;
    }

    int glyphAt = margin;
    int textAt = margin + g + spacing;
    if (layout == TButtonLayout::blGlyphRight || layout == TButtonLayout::blGlyphBottom) {
        glyphAt = axis - margin - g;
        textAt = glyphAt - spacing - t;
    }
    if (horizontal) {
        glyph.setX(glyphAt);
        text.setX(textAt);
    } else {
        glyph.setY(glyphAt);
        text.setY(textAt);
    }

    const QPoint shift = client.topLeft() + offset;
    return {glyph + shift, QRect(text + shift, textSize)};
}

} // namespace tx
