#pragma once

#include <QByteArray>
#include <QString>

namespace tx {

// A plain-text document as Rich Text Format in code page 936: one font (宋体, GB2312
// character set) at the given size in half points, each line break (LF, CR LF or a lone
// CR) a paragraph. Characters GBK cannot encode go out as \uN with '?' for readers
// without Unicode.
QByteArray rtfDocument(const QString& text, int halfPoints = 18);

// Writes the document to path, replacing a file there. Throws std::runtime_error
// naming the file and the reason when it cannot be written.
void writeRtfFile(const QString& path, const QString& text, int halfPoints = 18);

} // namespace tx
