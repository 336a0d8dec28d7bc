#include "Dataset.h"

#include "AccessDialect.h"
#include "Connection.h"
#include "DatabaseError.h"
#include "LatinCase.h"
#include "Statement.h"
#include "Transaction.h"
#include "platform/IntegerText.h"

#include <QRegularExpression>

#include <optional>
#include <sqlite3.h>

namespace tx {

namespace {

QString quoted(const QString& name) {
    return '"' + QString(name).replace('"', "\"\"") + '"';
}

bool hasIntegerAffinity(const QString& declaredType) {
    return declaredType.contains(QStringLiteral("INT"), Qt::CaseInsensitive);
}

bool hasBlobAffinity(const QString& declaredType) {
    return declaredType.contains(QStringLiteral("BLOB"), Qt::CaseInsensitive);
}

// A picture not read yet: only its size is known.
struct UnreadBlob {
    qint64 size = 0;
};

bool isUnread(const QVariant& v) {
    return v.metaType() == QMetaType::fromType<UnreadBlob>();
}

// Where the top-level FROM of a select starts (outside quotes and parentheses), or -1.
qsizetype topLevelFrom(const QString& sql) {
    int depth = 0;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == '\'' || c == '"' || c == '[' || c == '`') {
            const QChar close = c == '[' ? QChar(']') : c;
            i = sql.indexOf(close, i + 1);
            if (i < 0)
                return -1;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (depth == 0 && (c == 'f' || c == 'F') &&
                   sql.mid(i, 4).compare(QLatin1String("from"), Qt::CaseInsensitive) == 0 &&
                   (i == 0 || !(sql[i - 1].isLetterOrNumber() || sql[i - 1] == '_')) &&
                   (i + 4 >= sql.size() || !(sql[i + 4].isLetterOrNumber() || sql[i + 4] == '_'))) {
            return i;
        }
    }
    return -1;
}

bool isPlainSelect(const QString& sql) {
    static const QRegularExpression select(R"(^\s*select\s+(?!distinct\b))",
                                           QRegularExpression::CaseInsensitiveOption);
    // A grouped row stands for several rows of the table, and SQLite would answer
    // the rowid of any one of them.
    static const QRegularExpression grouped(R"(\bgroup\s+by\b)",
                                            QRegularExpression::CaseInsensitiveOption);
    return select.match(sql).hasMatch() && !grouped.match(sql).hasMatch();
}

} // namespace

Dataset::Dataset(Connection& connection, const QString& sql, QObject* parent)
    : QObject(parent), m_connection(&connection), m_sql(sql) {
    connection.bindDataset(this);
}

Dataset::~Dataset() {
    if (m_connection)
        m_connection->unbindDataset(this);
}

void Dataset::fail(const QString& what) const {
    throw DatabaseError(QStringLiteral("%1 (dataset \"%2\")").arg(what, m_sql));
}

void Dataset::markFailed(const QString& what) {
    close();
    m_failure = what;
}

Connection& Dataset::requireConnection() const {
    if (!m_connection || !m_connection->isOpen())
        fail(QStringLiteral("the connection is not open"));
    return *m_connection;
}

void Dataset::requireOpen(const char* operation) const {
    if (m_state != State::Inactive)
        return;
    if (!m_failure.isEmpty())
        fail(QStringLiteral("%1: the dataset failed to read (%2); reopen it")
                 .arg(QLatin1String(operation), m_failure));
    fail(QStringLiteral("%1: the dataset is closed").arg(QLatin1String(operation)));
}

void Dataset::requireBrowse(const char* operation) const {
    requireOpen(operation);
    if (m_state != State::Browse)
        fail(QStringLiteral("%1: a change is pending (post or cancel it first)")
                 .arg(QLatin1String(operation)));
}

void Dataset::requireWritable(const char* operation) const {
    if (m_table.isEmpty())
        fail(QStringLiteral("%1: the result cannot be written to a table")
                 .arg(QLatin1String(operation)));
}

void Dataset::requireColumn(int column, const char* operation) const {
    if (column < 0 || column >= int(m_fields.size()))
        fail(QStringLiteral("%1: the field is not in the dataset's result")
                 .arg(QLatin1String(operation)));
}

void Dataset::setSql(const QString& sql) {
    close();
    m_sql = sql;
    m_params.clear();
}

void Dataset::clearSql() {
    setSql(QString());
}

void Dataset::addSql(const QString& line) {
    close();
    m_sql = m_sql.isEmpty() ? line : m_sql + '\n' + line;
}

void Dataset::setParam(const QString& name, const QString& value) {
    const QString key = name.startsWith(':') ? name.mid(1) : name;
    for (auto& [n, v] : m_params)
        if (equalsIgnoringLatinCase(n, key)) {
            v = value;
            return;
        }
    m_params.emplace_back(key, value);
}

namespace {

void bindParameters(Statement& st, const std::vector<std::pair<QString, QString>>& params) {
    for (int i = 1; i <= st.parameterCount(); ++i) {
        const QString name = st.parameterName(i);
        if (name.isEmpty())
            st.fail(QStringLiteral("only named parameters (:name) are supported"));
        const QString key = name.mid(1);
        const auto it = std::find_if(params.begin(), params.end(), [&](const auto& p) {
            return equalsIgnoringLatinCase(p.first, key);
        });
        if (it == params.end())
            st.fail(QStringLiteral("parameter %1 has no value").arg(name));
        st.bind(i, QVariant(it->second));
    }
}

} // namespace

QString Dataset::selectList() const {
    QStringList list{QStringLiteral("rowid")};
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const QString column = quoted(m_columns[i].origin);
        list << (m_columns[i].blob ? QStringLiteral("length(%1)").arg(column) : column) +
                    QStringLiteral(" AS ") + quoted(m_fields[i]->name());
    }
    return list.join(QStringLiteral(", "));
}

void Dataset::assignFields(const QStringList& names) {
    for (const auto& f : m_fieldStore)
        f->m_index = -1;
    m_fields.clear();
    for (int i = 0; i < names.size(); ++i) {
        Field* field = nullptr;
        for (const auto& f : m_fieldStore)
            if (f->m_index < 0 && equalsIgnoringLatinCase(f->name(), names[i])) {
                field = f.get();
                break;
            }
        if (!field) {
            m_fieldStore.push_back(std::make_unique<Field>(*this, -1, names[i]));
            field = m_fieldStore.back().get();
        }
        field->m_index = i;
        m_fields.push_back(field);
    }
}

void Dataset::runRows(Statement& st, int offset) {
    while (st.step()) {
        Row r;
        r.rowid = offset ? st.value(0).toLongLong() : 0;
        r.values.reserve(st.columnCount() - offset);
        for (int i = offset; i < st.columnCount(); ++i) {
            const Column& c = m_columns[size_t(i - offset)];
            QVariant v = st.value(i);
            if (c.blob && offset && !v.isNull())
                v = QVariant::fromValue(UnreadBlob{v.toLongLong()});
            r.values.push_back(std::move(v));
        }
        m_rows.push_back(std::move(r));
    }
}

void Dataset::open() {
    close();
    m_failure.clear();
    try {
        Connection& connection = requireConnection();
        const QString text = translateAccessStatement(m_sql);
        std::unique_ptr<Statement> st = std::make_unique<Statement>(connection.handle(), text);

        // Writable when every column that comes from a table comes from the same one.
        QString table;
        bool single = true;
        QStringList names;
        std::vector<Column> columns;
        for (int i = 0; i < st->columnCount(); ++i) {
            names << st->columnName(i);
            const QString t = st->originTable(i);
            columns.push_back({st->originColumn(i), hasIntegerAffinity(st->declaredType(i)),
                               !t.isEmpty() && hasBlobAffinity(st->declaredType(i))});
            if (t.isEmpty()) {
                // An expression (count(*), a sum): its row is no single row of a table.
                single = false;
                continue;
            }
            if (st->originDatabase(i) != QLatin1String("main") ||
                (!table.isEmpty() && !equalsIgnoringLatinCase(table, t)))
                single = false;
            table = t;
        }
        m_columns = std::move(columns);
        assignFields(names);

        // The same rows with the table's rowid in front and every picture as its size,
        // so that walking a result never reads picture bytes.
        int offset = 0;
        const qsizetype from = topLevelFrom(text);
        if (single && !table.isEmpty() && from > 0 && isPlainSelect(text)) {
            m_table = table;
            const QString keyed = QStringLiteral("SELECT ") + selectList() + ' ' + text.mid(from);
            try {
                auto withId = std::make_unique<Statement>(connection.handle(), keyed);
                if (withId->columnCount() == st->columnCount() + 1 &&
                    equalsIgnoringLatinCase(withId->originTable(0), table)) {
                    st = std::move(withId);
                    offset = 1;
                }
            } catch (const DatabaseError&) {
                // No rowid to reach (a view): the result stays read-only.
            }
        }
        if (!offset) {
            m_table.clear();
            for (Column& c : m_columns)
                c.blob = false;
        }
        bindParameters(*st, m_params);
        m_state = State::Browse;
        runRows(*st, offset);
    } catch (const DatabaseError& e) {
        // Never a shortened result: the dataset fails as a whole.
        markFailed(e.message());
        throw;
    }
    m_current = 0;
    emit opened();
}

int Dataset::execSql() {
    close();
    Connection& connection = requireConnection();
    Statement st(connection.handle(), translateAccessStatement(m_sql));
    bindParameters(st, m_params);
    st.run();
    return sqlite3_changes(connection.handle());
}

void Dataset::close() {
    m_failure.clear();
    if (m_state == State::Inactive)
        return;
    m_state = State::Inactive;
    m_rows.clear();
    for (Field* f : m_fields)
        f->m_index = -1;
    m_fields.clear();
    m_columns.clear();
    m_buffer.clear();
    m_modified.clear();
    m_table.clear();
    m_current = 0;
    emit closed();
}

void Dataset::first() {
    requireBrowse("first");
    m_current = 0;
}

void Dataset::next() {
    requireBrowse("next");
    if (m_current < int(m_rows.size()))
        ++m_current;
}

bool Dataset::eof() const {
    if (m_state == State::Inactive) {
        if (!m_failure.isEmpty())
            requireOpen("eof");
        return true;
    }
    return m_state == State::Browse && m_current >= int(m_rows.size());
}

int Dataset::recordCount() const {
    if (m_state == State::Inactive && !m_failure.isEmpty())
        requireOpen("record count");
    return int(m_rows.size());
}

void Dataset::moveTo(int row) {
    requireBrowse("move");
    if (row < 0 || row > int(m_rows.size()))
        fail(QStringLiteral("row %1 is out of range").arg(row));
    m_current = row;
}

QStringList Dataset::fieldNames() const {
    QStringList names;
    for (const Field* f : m_fields)
        names << f->name();
    return names;
}

Field& Dataset::field(int index) {
    requireOpen("field");
    if (index < 0 || index >= int(m_fields.size()))
        fail(QStringLiteral("field number %1 does not exist").arg(index));
    return *m_fields[size_t(index)];
}

Field* Dataset::findField(const QString& name) {
    for (Field* f : m_fields)
        if (equalsIgnoringLatinCase(f->name(), name))
            return f;
    return nullptr;
}

Field& Dataset::fieldByName(const QString& name) {
    requireOpen("field");
    if (Field* f = findField(name))
        return *f;
    fail(QStringLiteral("field \"%1\" not found").arg(name));
}

QVariant Dataset::valueAt(int row, int column) const {
    if (row < 0 || row >= int(m_rows.size()) || column < 0 || column >= int(m_fields.size()))
        return {};
    const QVariant& v = m_rows[size_t(row)].values[column];
    return isUnread(v) ? QVariant(QByteArray()) : v;
}

QString Dataset::identityCondition(int firstParameter) const {
    QStringList terms;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].origin.isEmpty())
            continue;
        const QString column = quoted(m_columns[i].origin);
        terms << (m_columns[i].blob ? QStringLiteral("length(%1)").arg(column) : column) +
                     QStringLiteral(" IS ?%1").arg(firstParameter + int(terms.size()));
    }
    return terms.isEmpty() ? QString()
                           : QStringLiteral(" AND ") + terms.join(QStringLiteral(" AND "));
}

void Dataset::bindIdentity(Statement& st, int firstParameter, const Row& row) const {
    int n = firstParameter;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].origin.isEmpty())
            continue;
        const QVariant& v = row.values[int(i)];
        if (isUnread(v))
            st.bind(n++, QVariant(v.value<UnreadBlob>().size));
        else if (m_columns[i].blob)
            st.bind(n++, v.isNull() ? QVariant() : QVariant(qint64(v.toByteArray().size())));
        else
            st.bind(n++, v);
    }
}

sqlite3_blob* Dataset::openRowBlob(const Row& row, int column) const {
    sqlite3* db = requireConnection().handle();
    // The row must still be the one read: a rowid freed by a delete can be reused.
    Statement check(db, QStringLiteral("SELECT 1 FROM %1 WHERE rowid = ?1%2")
                            .arg(quoted(m_table), identityCondition(2)));
    check.bind(1, QVariant(row.rowid));
    bindIdentity(check, 2, row);
    if (!check.step())
        fail(QStringLiteral("read \"%1\": the row was changed or removed since it was read")
                 .arg(m_fields[size_t(column)]->name()));

    const QByteArray table = m_table.toUtf8();
    const QByteArray origin = m_columns[size_t(column)].origin.toUtf8();
    sqlite3_blob* blob = nullptr;
    if (sqlite3_blob_open(db, "main", table.constData(), origin.constData(), row.rowid, 0, &blob) !=
        SQLITE_OK) {
        const QString reason = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_blob_close(blob);
        fail(QStringLiteral("read \"%1\": %2").arg(m_fields[size_t(column)]->name(), reason));
    }
    return blob;
}

QByteArray Dataset::readBlob(const Row& row, int column) const {
    sqlite3_blob* blob = openRowBlob(row, column);
    const int size = sqlite3_blob_bytes(blob);
    QByteArray bytes(size, Qt::Uninitialized);
    const int rc = sqlite3_blob_read(blob, bytes.data(), size, 0);
    sqlite3_blob_close(blob);
    if (rc != SQLITE_OK)
        fail(QStringLiteral("read \"%1\": %2")
                 .arg(m_fields[size_t(column)]->name(), QString::fromUtf8(sqlite3_errstr(rc))));
    return bytes;
}

QVariant Dataset::currentValue(int column) const {
    requireOpen("read");
    requireColumn(column, "read");
    if (m_state == State::Insert)
        return m_buffer[column];
    if (m_state == State::Browse && m_current >= int(m_rows.size()))
        fail(QStringLiteral("read \"%1\": there is no current row")
                 .arg(m_fields[size_t(column)]->name()));
    const Row& row = m_rows[size_t(m_current)];
    const QVariant& v = m_state == State::Edit ? m_buffer[column] : row.values[column];
    return isUnread(v) ? QVariant(readBlob(row, column)) : v;
}

qint64 Dataset::currentByteSize(int column) const {
    requireOpen("read");
    requireColumn(column, "read");
    if (m_state == State::Browse && m_current < int(m_rows.size())) {
        const QVariant& v = m_rows[size_t(m_current)].values[column];
        if (isUnread(v))
            return v.value<UnreadBlob>().size;
    }
    const QVariant v = currentValue(column);
    if (v.isNull())
        return 0;
    return v.typeId() == QMetaType::QByteArray ? v.toByteArray().size()
                                               : Field::toText(v).toUtf8().size();
}

QList<QByteArray> Dataset::currentByteRanges(int column,
                                             const QList<QPair<qint64, qint64>>& ranges) const {
    requireOpen("read");
    requireColumn(column, "read");
    const auto clip = [](qint64 size, QPair<qint64, qint64> r) {
        const qint64 from = qBound<qint64>(0, r.first, size);
        return QPair<qint64, qint64>(from, qBound<qint64>(0, r.second, size - from));
    };
    QList<QByteArray> parts;
    const bool unread = m_state == State::Browse && m_current < int(m_rows.size()) &&
                        isUnread(m_rows[size_t(m_current)].values[column]);
    if (!unread) {
        const QVariant v = currentValue(column);
        const QByteArray bytes = v.isNull()                            ? QByteArray()
                                 : v.typeId() == QMetaType::QByteArray ? v.toByteArray()
                                                                       : Field::toText(v).toUtf8();
        for (const auto& r : ranges) {
            const auto c = clip(bytes.size(), r);
            parts << bytes.mid(c.first, c.second);
        }
        return parts;
    }
    sqlite3_blob* blob = openRowBlob(m_rows[size_t(m_current)], column);
    // One open blob for every piece: ascending pieces reuse its walk of the overflow pages.
    const qint64 size = sqlite3_blob_bytes(blob);
    int rc = SQLITE_OK;
    for (const auto& r : ranges) {
        const auto c = clip(size, r);
        QByteArray part(c.second, Qt::Uninitialized);
        if (c.second > 0 && rc == SQLITE_OK)
            rc = sqlite3_blob_read(blob, part.data(), int(c.second), int(c.first));
        parts << part;
    }
    sqlite3_blob_close(blob);
    if (rc != SQLITE_OK)
        fail(QStringLiteral("read \"%1\": %2")
                 .arg(m_fields[size_t(column)]->name(), QString::fromUtf8(sqlite3_errstr(rc))));
    return parts;
}

void Dataset::setCurrentValue(int column, const QVariant& value) {
    requireOpen("write");
    requireColumn(column, "write");
    if (m_state != State::Edit && m_state != State::Insert)
        fail(QStringLiteral("write \"%1\": the dataset is not being edited or appended")
                 .arg(m_fields[size_t(column)]->name()));
    m_buffer[column] = value;
    m_modified[column] = true;
}

bool Dataset::locate(const QString& fieldName, const QString& text) {
    requireBrowse("locate");
    const int column = fieldByName(fieldName).index();
    for (int row = 0; row < int(m_rows.size()); ++row) {
        const QVariant& v = m_rows[size_t(row)].values[column];
        if (!isUnread(v) && equalsIgnoringLatinCase(Field::toText(v), text)) {
            m_current = row;
            return true;
        }
    }
    return false;
}

void Dataset::append() {
    requireBrowse("append");
    requireWritable("append");
    m_buffer = QVector<QVariant>(int(m_fields.size()));
    m_modified = QVector<bool>(int(m_fields.size()), false);
    m_state = State::Insert;
}

void Dataset::edit() {
    requireBrowse("edit");
    requireWritable("edit");
    if (m_current >= int(m_rows.size()))
        fail(QStringLiteral("edit: there is no current row"));
    m_buffer = m_rows[size_t(m_current)].values;
    m_modified = QVector<bool>(int(m_fields.size()), false);
    m_state = State::Edit;
}

void Dataset::cancel() {
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_buffer.clear();
    m_modified.clear();
    m_state = State::Browse;
}

QVariant Dataset::storedValue(int column, const QVariant& value) const {
    if (m_columns[size_t(column)].origin.isEmpty())
        fail(QStringLiteral("field \"%1\" is not a table column and cannot be written")
                 .arg(m_fields[size_t(column)]->name()));
    if (!m_columns[size_t(column)].integer || value.typeId() != QMetaType::QString)
        return value;
    const QString text = value.toString();
    if (text.isEmpty())
        return QVariant();
    if (const auto n = parseInt32(text))
        return QVariant(qint64(*n));
    fail(QStringLiteral("field \"%1\": \"%2\" is not a whole number")
             .arg(m_fields[size_t(column)]->name(), text));
}

Dataset::Row Dataset::rereadRow(qint64 rowid) const {
    Statement st(
        m_connection->handle(),
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(selectList(), quoted(m_table)));
    st.bind(1, QVariant(rowid));
    if (!st.step())
        st.fail(QStringLiteral("the written row is no longer in table \"%1\"").arg(m_table));
    Row row{rowid, {}};
    for (int i = 1; i < st.columnCount(); ++i) {
        QVariant v = st.value(i);
        if (m_columns[size_t(i - 1)].blob && !v.isNull())
            v = QVariant::fromValue(UnreadBlob{v.toLongLong()});
        row.values.push_back(std::move(v));
    }
    return row;
}

void Dataset::post() {
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    Connection& connection = requireConnection();
    QStringList names;
    QVector<QVariant> values;
    for (int i = 0; i < m_buffer.size(); ++i)
        if (m_modified[i]) {
            values << storedValue(i, m_buffer[i]);
            names << quoted(m_columns[size_t(i)].origin);
        }

    sqlite3* db = connection.handle();
    Transaction transaction(db);
    qint64 rowid = 0;
    if (m_state == State::Insert) {
        QStringList marks;
        for (int i = 0; i < names.size(); ++i)
            marks << QStringLiteral("?");
        const QString sql =
            names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_table))
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(quoted(m_table), names.join(", "), marks.join(", "));
        Statement st(db, sql);
        for (int i = 0; i < values.size(); ++i)
            st.bind(i + 1, values[i]);
        st.run();
        rowid = sqlite3_last_insert_rowid(db);
    } else {
        const Row& current = m_rows[size_t(m_current)];
        rowid = current.rowid;
        if (!names.isEmpty()) {
            QStringList sets;
            for (int i = 0; i < names.size(); ++i)
                sets << names[i] + QStringLiteral(" = ?%1").arg(i + 1);
            const int key = int(values.size()) + 1;
            Statement st(db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3%4")
                                 .arg(quoted(m_table), sets.join(", "))
                                 .arg(key)
                                 .arg(identityCondition(key + 1)));
            for (int i = 0; i < values.size(); ++i)
                st.bind(i + 1, values[i]);
            st.bind(key, QVariant(rowid));
            bindIdentity(st, key + 1, current);
            st.run();
            if (sqlite3_changes(db) != 1)
                st.fail(QStringLiteral("the row was changed or removed in table \"%1\" since it "
                                       "was read")
                            .arg(m_table));
        }
    }
    Row row = rereadRow(rowid);
    transaction.commit();

    if (m_state == State::Insert) {
        m_rows.push_back(std::move(row));
        m_current = int(m_rows.size()) - 1;
    } else {
        m_rows[size_t(m_current)] = std::move(row);
    }
    m_buffer.clear();
    m_modified.clear();
    m_state = State::Browse;
    emit changed();
}

void Dataset::remove() {
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    requireBrowse("delete");
    requireWritable("delete");
    if (m_current >= int(m_rows.size()))
        fail(QStringLiteral("delete: there is no current row"));
    Connection& connection = requireConnection();
    sqlite3* db = connection.handle();
    Transaction transaction(db);
    const Row& current = m_rows[size_t(m_current)];
    Statement st(db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?1%2")
                         .arg(quoted(m_table), identityCondition(2)));
    st.bind(1, QVariant(current.rowid));
    bindIdentity(st, 2, current);
    st.run();
    if (sqlite3_changes(db) != 1)
        st.fail(QStringLiteral("the row was changed or removed in table \"%1\" since it was read")
                    .arg(m_table));
    transaction.commit();
    m_rows.erase(m_rows.begin() + m_current);
    if (m_current > 0 && m_current >= int(m_rows.size()))
        m_current = int(m_rows.size()) - 1;
    emit changed();
}

TableDataset::TableDataset(Connection& connection, const QString& table, QObject* parent)
    : Dataset(connection, {}, parent) {
    setTableName(table);
}

void TableDataset::setTableName(const QString& table) {
    m_tableName = table;
    setSql(QStringLiteral("select * from ") + quoted(table));
}

} // namespace tx
