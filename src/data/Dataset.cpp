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

// The same statement with the rowid of its single source table in front, or
// nothing when the text is not a plain select.
std::optional<QString> withRowid(const QString& sql) {
    static const QRegularExpression select(R"(^\s*select\s+(?!distinct\b))",
                                           QRegularExpression::CaseInsensitiveOption);
    // A grouped row stands for several rows of the table, and SQLite would answer
    // the rowid of any one of them.
    static const QRegularExpression grouped(R"(\bgroup\s+by\b)",
                                            QRegularExpression::CaseInsensitiveOption);
    const auto m = select.match(sql);
    if (!m.hasMatch() || grouped.match(sql).hasMatch())
        return std::nullopt;
    return QString(sql).insert(m.capturedEnd(), QStringLiteral("rowid, "));
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

Connection& Dataset::requireConnection() const {
    if (!m_connection || !m_connection->isOpen())
        fail(QStringLiteral("the connection is not open"));
    return *m_connection;
}

void Dataset::requireOpen(const char* operation) const {
    if (m_state == State::Inactive)
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

void Dataset::open() {
    close();
    Connection& connection = requireConnection();
    const QString text = translateAccessStatement(m_sql);
    std::unique_ptr<Statement> st = std::make_unique<Statement>(connection.handle(), text);

    // Writable when every column that comes from a table comes from the same one.
    QString table;
    bool single = true;
    for (int i = 0; i < st->columnCount(); ++i) {
        const QString t = st->originTable(i);
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
    int offset = 0;
    if (single && !table.isEmpty()) {
        if (const auto rowidText = withRowid(text)) {
            try {
                auto withId = std::make_unique<Statement>(connection.handle(), *rowidText);
                if (withId->columnCount() == st->columnCount() + 1 &&
                    equalsIgnoringLatinCase(withId->originTable(0), table)) {
                    st = std::move(withId);
                    offset = 1;
                }
            } catch (const DatabaseError&) {
                // No rowid to reach (a view, a join): the result stays read-only.
            }
        }
    }
    bindParameters(*st, m_params);

    std::vector<Column> columns;
    std::vector<std::unique_ptr<Field>> fields;
    for (int i = offset; i < st->columnCount(); ++i) {
        columns.push_back(
            {offset ? st->originColumn(i) : QString(), hasIntegerAffinity(st->declaredType(i))});
        fields.push_back(std::make_unique<Field>(*this, i - offset, st->columnName(i)));
    }
    m_table = offset ? table : QString();
    m_columns = std::move(columns);
    m_fields = std::move(fields);
    m_rows.clear();
    m_pending = std::move(st);
    m_offset = offset;
    m_current = 0;
    m_state = State::Browse;
    emit opened();
}

bool Dataset::fetchTo(int row) const {
    while (m_pending && int(m_rows.size()) <= row) {
        bool more = false;
        try {
            more = m_pending->step();
        } catch (...) {
            // A failed read resets the statement; stepping it again would fetch the
            // rows already read a second time.
            m_pending.reset();
            throw;
        }
        if (!more) {
            m_pending.reset();
            break;
        }
        Row r;
        r.rowid = m_offset ? m_pending->value(0).toLongLong() : 0;
        r.values.reserve(m_pending->columnCount() - m_offset);
        for (int i = m_offset; i < m_pending->columnCount(); ++i)
            r.values.push_back(m_pending->value(i));
        m_rows.push_back(std::move(r));
    }
    return row >= 0 && row < int(m_rows.size());
}

void Dataset::fetchAll() const {
    while (m_pending)
        fetchTo(int(m_rows.size()));
}

int Dataset::execSql() {
    close();
    Connection& connection = requireConnection();
    connection.finishReads();
    Statement st(connection.handle(), translateAccessStatement(m_sql));
    bindParameters(st, m_params);
    st.run();
    return sqlite3_changes(connection.handle());
}

void Dataset::close() {
    if (m_state == State::Inactive)
        return;
    m_state = State::Inactive;
    m_pending.reset();
    m_rows.clear();
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
    if (fetchTo(m_current))
        ++m_current;
}

bool Dataset::eof() const {
    if (m_state != State::Browse)
        return m_state == State::Inactive;
    return !fetchTo(m_current);
}

int Dataset::recordCount() const {
    fetchAll();
    return isOpen() ? int(m_rows.size()) : 0;
}

void Dataset::moveTo(int row) {
    requireBrowse("move");
    if (row < 0 || (row > 0 && !fetchTo(row - 1)))
        fail(QStringLiteral("row %1 is out of range").arg(row));
    m_current = row;
}

QStringList Dataset::fieldNames() const {
    QStringList names;
    for (const auto& f : m_fields)
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
    for (const auto& f : m_fields)
        if (equalsIgnoringLatinCase(f->name(), name))
            return f.get();
    return nullptr;
}

Field& Dataset::fieldByName(const QString& name) {
    requireOpen("field");
    if (Field* f = findField(name))
        return *f;
    fail(QStringLiteral("field \"%1\" not found").arg(name));
}

QVariant Dataset::valueAt(int row, int column) const {
    if (!fetchTo(row) || column < 0 || column >= int(m_fields.size()))
        return {};
    return m_rows[size_t(row)].values[column];
}

QVariant Dataset::currentValue(int column) const {
    requireOpen("read");
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer[column];
    if (!fetchTo(m_current))
        fail(QStringLiteral("read \"%1\": there is no current row").arg(m_fields[column]->name()));
    return m_rows[size_t(m_current)].values[column];
}

void Dataset::setCurrentValue(int column, const QVariant& value) {
    requireOpen("write");
    if (m_state != State::Edit && m_state != State::Insert)
        fail(QStringLiteral("write \"%1\": the dataset is not being edited or appended")
                 .arg(m_fields[column]->name()));
    m_buffer[column] = value;
    m_modified[column] = true;
}

bool Dataset::locate(const QString& fieldName, const QString& text) {
    requireBrowse("locate");
    const int column = fieldByName(fieldName).index();
    for (int row = 0; fetchTo(row); ++row)
        if (equalsIgnoringLatinCase(Field::toText(m_rows[size_t(row)].values[column]), text)) {
            m_current = row;
            return true;
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
    if (!fetchTo(m_current))
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

QVector<QVariant> Dataset::rereadRow(qint64 rowid, const QVector<QVariant>& fallback) const {
    QStringList names;
    QVector<int> columns;
    for (int i = 0; i < int(m_columns.size()); ++i)
        if (!m_columns[size_t(i)].origin.isEmpty()) {
            names << quoted(m_columns[size_t(i)].origin);
            columns << i;
        }
    QVector<QVariant> values = fallback;
    if (names.isEmpty())
        return values;
    Statement st(
        m_connection->handle(),
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(names.join(", "), quoted(m_table)));
    st.bind(1, QVariant(rowid));
    if (!st.step())
        st.fail(QStringLiteral("the written row is no longer in table \"%1\"").arg(m_table));
    for (int i = 0; i < columns.size(); ++i)
        values[columns[i]] = st.value(i);
    return values;
}

void Dataset::post() {
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    Connection& connection = requireConnection();
    connection.finishReads();
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
        rowid = m_rows[size_t(m_current)].rowid;
        if (!names.isEmpty()) {
            QStringList sets;
            for (const QString& n : names)
                sets << n + QStringLiteral(" = ?");
            Statement st(db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                 .arg(quoted(m_table), sets.join(", ")));
            for (int i = 0; i < values.size(); ++i)
                st.bind(i + 1, values[i]);
            st.bind(int(values.size()) + 1, QVariant(rowid));
            st.run();
            if (sqlite3_changes(db) != 1)
                st.fail(QStringLiteral("the row is no longer in table \"%1\"").arg(m_table));
        }
    }
    Row row{rowid, rereadRow(rowid, m_buffer)};
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
    if (!fetchTo(m_current))
        fail(QStringLiteral("delete: there is no current row"));
    Connection& connection = requireConnection();
    connection.finishReads();
    sqlite3* db = connection.handle();
    Transaction transaction(db);
    Statement st(db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(m_table)));
    st.bind(1, QVariant(m_rows[size_t(m_current)].rowid));
    st.run();
    if (sqlite3_changes(db) != 1)
        st.fail(QStringLiteral("the row is no longer in table \"%1\"").arg(m_table));
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
