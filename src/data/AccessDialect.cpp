#include "AccessDialect.h"

#include <QRegularExpression>
#include <QStringList>

namespace tx {

namespace {

QString quoted(const QString& name) {
    QString n = name;
    if (n.size() >= 2 &&
        ((n.startsWith('[') && n.endsWith(']')) || (n.startsWith('"') && n.endsWith('"'))))
        n = n.mid(1, n.size() - 2);
    return '"' + QString(n).replace('"', "\"\"") + '"';
}

} // namespace

QString sqliteColumnDefinition(const QString& column, const QString& accessType) {
    static const QRegularExpression varchar(R"(^\s*varchar\s*\(\s*(\d+)\s*\)\s*$)",
                                            QRegularExpression::CaseInsensitiveOption);
    const QString q = quoted(column);
    const QString type = accessType.trimmed().toLower();
    if (auto m = varchar.match(accessType); m.hasMatch())
        return QStringLiteral("%1 varchar(%2) COLLATE NOCASE CHECK(length(%1) <= %2)")
            .arg(q, m.captured(1));
    if (type == "memo" || type == "text" || type == "longtext")
        return q + " TEXT COLLATE NOCASE";
    if (type == "image" || type == "longbinary" || type == "blob")
        return q + " BLOB";
    if (type == "integer" || type == "int" || type == "long")
        return q + " INTEGER";
    return q + ' ' + accessType.trimmed();
}

QString translateAccessStatement(const QString& sql) {
    static const QRegularExpression addColumn(
        R"(^\s*alter\s+table\s+(\S+)\s+add\s+column\s+(\S+)\s+(.+?)\s*;?\s*$)",
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression createTable(R"(^\s*create\s+table\s+(\S+)\s*\((.*)\)\s*;?\s*$)",
                                                QRegularExpression::CaseInsensitiveOption |
                                                    QRegularExpression::DotMatchesEverythingOption);

    if (auto m = addColumn.match(sql); m.hasMatch())
        return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
            .arg(quoted(m.captured(1)), sqliteColumnDefinition(m.captured(2), m.captured(3)));

    if (auto m = createTable.match(sql); m.hasMatch()) {
        QStringList columns;
        for (const QString& part : m.captured(2).split(',', Qt::SkipEmptyParts)) {
            const QString def = part.trimmed();
            const qsizetype space = def.indexOf(QRegularExpression(R"(\s)"));
            if (space < 0)
                columns << quoted(def) + " TEXT COLLATE NOCASE";
            else
                columns << sqliteColumnDefinition(def.left(space), def.mid(space + 1));
        }
        return QStringLiteral("CREATE TABLE %1 (%2)")
            .arg(quoted(m.captured(1)), columns.join(", "));
    }
    return sql;
}

} // namespace tx
