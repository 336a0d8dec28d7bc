#pragma once

#include <QByteArray>
#include <QImage>

namespace tx {

class Connection;
struct LessonItem;
struct LessonModule;

// The largest bitmap a lesson picture may describe; a header claiming more is damage.
inline constexpr qint64 kMaxPicturePixels = qint64(64) * 1024 * 1024;

// Decodes stored picture data (the 8-byte header skipped when present) as a BMP file
// image. Damaged, truncated or foreign data, or a header claiming more pixels than the
// data or the limit allows, gives a null image. With a size to fit, a large picture may
// come back reduced to no less than twice that size (sampled, never decoded in full).
QImage decodeLessonPicture(const QByteArray& stored, QSize fit = {});

// Reads the item's picture from its table when the item shows one: the row found again by
// its key and name, flag "有" and data present. Otherwise a null image.
QImage readLessonPicture(Connection& connection, const LessonModule& module, const LessonItem& item,
                         QSize fit = {});

} // namespace tx
