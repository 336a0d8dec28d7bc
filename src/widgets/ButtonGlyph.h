#pragma once

#include "widgets/ButtonTypes.h"

#include <QImage>

namespace tx {

// Which image of a glyph holding numGlyphs images side by side shows in a state.
int glyphImageIndex(int numGlyphs, TButtonState state);

// Pixels equal to key (and fully transparent ones) become transparent.
QImage withTransparentColor(const QImage& image, QRgb key);

// The shape of image (pixels other than key) drawn in the button highlight colour one
// pixel down and right, then in the button shadow colour in place, on the button face.
QImage embossedImage(const QImage& image, QRgb key);

// The image a button in state draws: chosen, embossed when there is no own disabled
// image, with its transparent colour (the bottom-left pixel) left out.
QImage buttonGlyphImage(const QImage& glyph, int numGlyphs, TButtonState state);

} // namespace tx
