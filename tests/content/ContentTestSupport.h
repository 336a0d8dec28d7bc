#pragma once

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QList>
#include <QString>
#include <QVariantMap>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace tx::content::test {

// Read-only access to a built database, rows as column name -> value.
class DbReader {
public:
    explicit DbReader(const QString& path) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path.toStdString();
    }
    ~DbReader() { sqlite3_close(db_); }
    DbReader(const DbReader&) = delete;
    DbReader& operator=(const DbReader&) = delete;

    QList<QVariantMap> rows(const QString& sql, const QStringList& params = {}) const {
        QList<QVariantMap> out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db_);
            return out;
        }
        std::vector<QByteArray> keep;
        for (int i = 0; i < params.size(); ++i) {
            keep.push_back(params[i].toUtf8());
            sqlite3_bind_text(st, i + 1, keep.back().constData(), int(keep.back().size()),
                              SQLITE_TRANSIENT);
        }
        while (sqlite3_step(st) == SQLITE_ROW) {
            QVariantMap row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const QString name = QString::fromUtf8(sqlite3_column_name(st, c));
                switch (sqlite3_column_type(st, c)) {
                case SQLITE_INTEGER:
                    row[name] = qlonglong(sqlite3_column_int64(st, c));
                    break;
                case SQLITE_NULL:
                    row[name] = QVariant();
                    break;
                case SQLITE_BLOB:
                    row[name] = QByteArray(static_cast<const char*>(sqlite3_column_blob(st, c)),
                                           sqlite3_column_bytes(st, c));
                    break;
                default:
                    row[name] = QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
                }
            }
            out << row;
        }
        sqlite3_finalize(st);
        return out;
    }

private:
    sqlite3* db_ = nullptr;
};

inline quint32 le32(const QByteArray& b, qsizetype at) {
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 |
           quint32(quint8(b[at + 2])) << 16 | quint32(quint8(b[at + 3])) << 24;
}

// A RIFF/WAVE file whose fmt chunk says PCM and which holds sound data.
inline bool isPcmWav(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray b = f.readAll();
    if (b.size() < 44 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE")
        return false;
    bool pcm = false;
    for (qsizetype at = 12; at + 8 <= b.size();) {
        const QByteArray id = b.mid(at, 4);
        const quint32 size = le32(b, at + 4);
        if (id == "fmt ")
            pcm = size >= 16 && quint8(b[at + 8]) == 1 && quint8(b[at + 9]) == 0;
        if (id == "data")
            return pcm && size > 0 && at + 8 < b.size();
        at += 8 + qsizetype(size) + (size & 1);
    }
    return false;
}

inline QImage decodeBmp(const QVariant& pic) {
    const QByteArray bytes = pic.toByteArray();
    if (!bytes.startsWith("BM"))
        return {};
    return QImage::fromData(bytes, "BMP");
}

} // namespace tx::content::test
