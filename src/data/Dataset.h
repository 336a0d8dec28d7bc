#pragma once

#include "Field.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <utility>
#include <vector>

struct sqlite3_blob;

namespace tx {

class Connection;
class Statement;

// A query over one connection, in the manner of an ADO dataset: SQL text with
// :name parameters (always bound), a result with a current row, fields by name, and
// writes that go through to the result's source table. open() reads the whole result
// before it returns, except picture (BLOB) bytes, which are read by row when a field's
// bytes are asked for. Each post and delete is one transaction and hits the row the
// dataset read or fails; a failed post leaves the row pending and the database
// unchanged. A dataset whose read failed throws on every read until it is reopened.
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Dataset(Connection& connection, const QString& sql = {}, QObject* parent = nullptr);
    ~Dataset() override;

    Connection* connection() const { return m_connection; }

    // A change of the text closes an open dataset. Parameters are kept until the
    // text is replaced or cleared.
    QString sql() const { return m_sql; }
    void setSql(const QString& sql);
    void clearSql();
    void addSql(const QString& line);
    // Parameter name with or without its ':'; matched without regard to case.
    void setParam(const QString& name, const QString& value);

    // Runs the statement (again, when already open) and reads its rows; the first row
    // becomes current. Throws DatabaseError, leaving the dataset failed, when it fails.
    void open();
    void reopen() { open(); }
    // Runs a statement without rows (Access dialect accepted); answers the number of
    // rows it changed.
    int execSql();
    // Discards a pending append or edit.
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    // The error of the last failed open or read; empty when there was none since.
    QString failure() const { return m_failure; }
    State state() const { return m_state; }
    // The table that writes go to; empty when the result cannot be written.
    QString sourceTable() const { return m_table; }

    void first();
    void next();
    bool eof() const;
    int recordCount() const;
    // Index of the current row (0-based); equal to recordCount() at the end.
    int recNo() const { return m_current; }
    void moveTo(int row);

    int fieldCount() const { return int(m_fields.size()); }
    QStringList fieldNames() const;
    Field& field(int index);
    // Names are matched without regard to the case of Latin letters. A field stays
    // valid for the dataset's life: after a reopen it reads the column of its name,
    // and reading it while the result has no such column throws.
    Field& fieldByName(const QString& name);
    Field* findField(const QString& name);
    // A stored value for grids; pictures read as empty bytes (their bytes are not read).
    QVariant valueAt(int row, int column) const;

    // Makes current the first row whose field equals text, Latin letters without
    // regard to case; the current row stays when there is none.
    bool locate(const QString& fieldName, const QString& text);

    void append();
    void edit();
    void post();
    void cancel();
    void remove();

signals:
    void opened();
    void closed();
    void changed();

private:
    friend class Field;
    friend class Connection;

    struct Row {
        qint64 rowid = 0;
        QVector<QVariant> values; // a picture holds its size only, until it is read
    };
    struct Column {
        QString origin; // column of the source table; empty for an expression
        bool integer = false;
        bool blob = false;
    };

    Connection& requireConnection() const;
    void requireOpen(const char* operation) const;
    void requireBrowse(const char* operation) const;
    void requireWritable(const char* operation) const;
    void requireColumn(int column, const char* operation) const;
    QVariant currentValue(int column) const;
    void setCurrentValue(int column, const QVariant& value);
    QVariant storedValue(int column, const QVariant& value) const;
    QString selectList() const;
    QString identityCondition(int firstParameter) const;
    void bindIdentity(Statement& st, int firstParameter, const Row& row) const;
    // The picture of a row still as it was read, opened for reading; the caller closes it.
    sqlite3_blob* openRowBlob(const Row& row, int column) const;
    QByteArray readBlob(const Row& row, int column) const;
    qint64 currentByteSize(int column) const;
    QList<QByteArray> currentByteRanges(int column,
                                        const QList<QPair<qint64, qint64>>& ranges) const;
    Row rereadRow(qint64 rowid) const;
    void runRows(Statement& st, int offset);
    void assignFields(const QStringList& names);
    [[noreturn]] void fail(const QString& what) const;
    void markFailed(const QString& what);
    void detachFromConnection() { m_connection = nullptr; }

    Connection* m_connection;
    QString m_sql;
    std::vector<std::pair<QString, QString>> m_params;

    State m_state = State::Inactive;
    QString m_failure;
    QString m_table;
    std::vector<Column> m_columns;
    std::vector<std::unique_ptr<Field>> m_fieldStore; // every field ever handed out
    std::vector<Field*> m_fields;                     // the result's, in column order
    std::vector<Row> m_rows;
    int m_current = 0;
    QVector<QVariant> m_buffer;
    QVector<bool> m_modified;
};

// The dataset of one whole table, opened by its name.
class TableDataset : public Dataset {
    Q_OBJECT
public:
    TableDataset(Connection& connection, const QString& table, QObject* parent = nullptr);
    QString tableName() const { return m_tableName; }
    void setTableName(const QString& table);

private:
    QString m_tableName;
};

} // namespace tx
