#include "DataFixture.h"

#include "data/ShippedSchema.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace tx::test {

namespace {

sqlite3* openFile(const QString& file, int flags) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, flags, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << file.toStdString() << ": " << sqlite3_errmsg(db);
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

} // namespace

void createDatabase(const QString& file, const QStringList& statements) {
    sqlite3* db = openFile(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!db)
        return;
    for (const QString& sql : statements) {
        char* error = nullptr;
        if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
            ADD_FAILURE() << sql.toStdString() << ": " << error;
        sqlite3_free(error);
    }
    sqlite3_close(db);
}

QVariantList queryColumn(const QString& file, const QString& sql) {
    QVariantList out;
    sqlite3* db = openFile(file, SQLITE_OPEN_READONLY);
    if (!db)
        return out;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db);
    } else {
        while (sqlite3_step(st) == SQLITE_ROW) {
            switch (sqlite3_column_type(st, 0)) {
            case SQLITE_NULL:
                out << QVariant();
                break;
            case SQLITE_INTEGER:
                out << QVariant(qint64(sqlite3_column_int64(st, 0)));
                break;
            case SQLITE_BLOB:
                out << QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, 0)),
                                           sqlite3_column_bytes(st, 0)));
                break;
            default:
                out << QVariant(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                                      sqlite3_column_bytes(st, 0)));
            }
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

QString schemaText(const QString& file) {
    QStringList parts;
    for (const QVariant& v :
         queryColumn(file, "SELECT type || ' ' || name || ' ' || coalesce(sql, '') FROM "
                           "sqlite_master ORDER BY type, name"))
        parts << v.toString();
    return parts.join('\n');
}

QStringList columnsOf(const QString& file, const QString& table) {
    QStringList out;
    for (const QVariant& v : queryColumn(
             file,
             QStringLiteral("SELECT name || ' ' || type FROM pragma_table_info('%1')").arg(table)))
        out << v.toString();
    return out;
}

QStringList shippedDatabase(bool upgradeColumns) {
    return shippedSchemaStatements(upgradeColumns)
           << QStringLiteral("INSERT INTO SYS (日期) VALUES ('2004-05-01')");
}

} // namespace tx::test
