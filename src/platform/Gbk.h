#pragma once

#include <QByteArray>
#include <QString>

namespace tx {

// GBK is the program's external text form (names are limited in GBK bytes, documents
// are written in code page 936). Characters GBK cannot encode take their GB18030 form.
QByteArray toGbk(const QString& text);
QString fromGbk(const QByteArray& bytes);
int gbkByteLength(const QString& text);

} // namespace tx
