#pragma once

#include <QString>

class QWidget;

namespace tx {

struct Services;

// The sample courseware of the offline site (a .swf made at build time).
QString sampleCoursewareAddress(const QString& programDir);

// Fills the main window's middle band (800 x 60) with the courseware demonstration:
// LOOKSB, LOOKSB2 (with its open dialog OP2), WEBSB and their explanatory labels.
void buildCoursewareBand(QWidget* band, Services& services, QWidget* owner);

} // namespace tx
