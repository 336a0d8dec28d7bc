#pragma once

#include <QByteArray>
#include <QString>

namespace tx::content {

constexpr int kPictureSize = 240;

// The bytes of a BMP file for an item's picture source: emoji text (several emoji are
// laid out as a grid, so a picture can show a count), "字" for the item's name drawn
// large, "无" for no picture (empty result). Needs a QGuiApplication.
QByteArray renderPicture(const QString& source, const QString& name);

} // namespace tx::content
