#include "Statement.h"

#include "DatabaseError.h"

#include <sqlite3.h>

namespace tx {

namespace {

QString fromUtf8(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

bool onlyBlanks(const char* text) {
    for (; *text; ++text)
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n' && *text != ';')
            return false;
    return true;
}

} // namespace

Statement::Statement(sqlite3* db, const QString& sql) : m_db(db), m_sql(sql) {
    if (!db)
        throw DatabaseError(
            QStringLiteral("the connection is not open (statement \"%1\")").arg(sql));
    const QByteArray text = sql.toUtf8();
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()) + 1, &m_stmt, &tail) !=
        SQLITE_OK) {
        const QString message = fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw DatabaseError(QStringLiteral("%1 (statement \"%2\")").arg(message, sql));
    }
    if (!m_stmt)
        throw DatabaseError(QStringLiteral("no statement in \"%1\"").arg(sql));
    if (tail && !onlyBlanks(tail)) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw DatabaseError(
            QStringLiteral("only one statement is allowed (statement \"%1\")").arg(sql));
    }
}

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

void Statement::fail(const QString& what) const {
    throw DatabaseError(QStringLiteral("%1 (statement \"%2\")").arg(what, m_sql));
}

int Statement::parameterCount() const {
    return sqlite3_bind_parameter_count(m_stmt);
}

QString Statement::parameterName(int index) const {
    return fromUtf8(sqlite3_bind_parameter_name(m_stmt, index));
}

void Statement::bind(int index, const QVariant& value) {
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob64(m_stmt, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                                     SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text64(m_stmt, index, text.constData(), sqlite3_uint64(text.size()),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        fail(fromUtf8(sqlite3_errmsg(m_db)));
}

bool Statement::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString message = fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_reset(m_stmt);
    fail(message);
}

void Statement::run() {
    while (step()) {
    }
}

int Statement::columnCount() const {
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const {
    return fromUtf8(sqlite3_column_name(m_stmt, column));
}

QVariant Statement::value(int column) const {
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
        return QVariant(QByteArray(data ? data : "", sqlite3_column_bytes(m_stmt, column)));
    }
    default:
        return QVariant();
    }
}

QString Statement::originTable(int column) const {
    return fromUtf8(sqlite3_column_table_name(m_stmt, column));
}

QString Statement::originColumn(int column) const {
    return fromUtf8(sqlite3_column_origin_name(m_stmt, column));
}

QString Statement::originDatabase(int column) const {
    return fromUtf8(sqlite3_column_database_name(m_stmt, column));
}

QString Statement::declaredType(int column) const {
    return fromUtf8(sqlite3_column_decltype(m_stmt, column));
}

} // namespace tx
