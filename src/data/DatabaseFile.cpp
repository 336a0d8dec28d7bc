#include "DatabaseFile.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <unistd.h>

namespace tx {

namespace {

constexpr char kMagic[] = "SQLite format 3";
constexpr qsizetype kHeaderSize = 100;

quint32 bigEndian(const QByteArray& bytes, int offset, int width) {
    quint32 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | quint8(bytes[offset + i]);
    return value;
}

} // namespace

QString databaseFileProblem(const QString& file, FileAccess access) {
    if (file.isEmpty())
        return QStringLiteral("no file name given");
    const QFileInfo info(file);
    if (!info.exists())
        return QStringLiteral("file does not exist");
    if (info.isDir())
        return QStringLiteral("is a directory");
    if (!info.isFile())
        return QStringLiteral("is not a regular file");
    const QByteArray native = QFile::encodeName(file);
    if (access == FileAccess::ReadWrite && ::access(native.constData(), R_OK | W_OK) != 0)
        return QStringLiteral("permission denied (reading and writing are both needed)");
    if (access == FileAccess::ReadOnly && ::access(native.constData(), R_OK) != 0)
        return QStringLiteral("permission denied (reading is needed)");
    if (info.size() == 0)
        return QStringLiteral("file is empty");

    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read the file: %1").arg(f.errorString());
    const QByteArray header = f.read(kHeaderSize);
    const qsizetype magicSize = sizeof kMagic; // with its terminating zero byte
    if (std::memcmp(header.constData(), kMagic, size_t(qMin(header.size(), magicSize))) != 0)
        return QStringLiteral("file is not a database");
    if (header.size() < kHeaderSize)
        return QStringLiteral("file is truncated");

    quint32 pageSize = bigEndian(header, 16, 2);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        return QStringLiteral("file is not a database (bad page size)");
    // The page count in the header is only trustworthy while the change counter and
    // the "version valid for" number agree.
    const quint32 pageCount = bigEndian(header, 28, 4);
    // Pages still in a write-ahead log beside the file belong to it: SQLite
    // replays them when it opens the file.
    const bool countValid = pageCount != 0 &&
                            bigEndian(header, 24, 4) == bigEndian(header, 92, 4) &&
                            !QFileInfo::exists(file + QStringLiteral("-wal"));
    if (countValid && quint64(info.size()) < quint64(pageCount) * pageSize)
        return QStringLiteral("file is truncated (%1 bytes, %2 expected)")
            .arg(info.size())
            .arg(quint64(pageCount) * pageSize);
    if (quint64(info.size()) < pageSize)
        return QStringLiteral("file is truncated");
    return {};
}

} // namespace tx
