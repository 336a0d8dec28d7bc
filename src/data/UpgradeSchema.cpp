#include "UpgradeSchema.h"

#include "LatinCase.h"
#include "Tdm.h"

#include <stdexcept>

namespace tx {

namespace {

// Opens the select on goQuery and, when the column is missing, executes the alter.
void addColumnIfMissing(Dataset& goQuery, const QString& select, const QString& column,
                        const QString& alter) {
    goQuery.setSql(select);
    goQuery.open();
    if (goQuery.findField(column))
        return;
    goQuery.setSql(alter);
    goQuery.execSql();
}

const QString kSelectFrom = QStringLiteral("select * from   ");

} // namespace

bool TableExists(Connection& connection, const QString& name) {
    for (const QString& table : connection.tableNames())
        if (equalsIgnoringLatinCase(table, name))
            return true;
    return false;
}

bool TableExists(Tdm& dm, const QString& name) {
    return TableExists(dm.ADOConnection1, name);
}

void EnsureColumn(Tdm& dm, const QString& table, const QString& column, int width) {
    if (width != 15 && width != 150)
        throw std::invalid_argument("EnsureColumn: the width must be 15 or 150");
    addColumnIfMissing(
        dm.goQuery, kSelectFrom + table, column,
        QStringLiteral("ALTER table  ") + table + QStringLiteral("  ADD COLUMN ") + column +
            (width == 15 ? QStringLiteral("  varchar(15)  ") : QStringLiteral("  varchar(150)  ")));
}

void UpgradeSchema(Tdm& dm, const QString& table) {
    Dataset& goQuery = dm.goQuery;

    // SQLite has no table without columns: the table is made with 菜名 at once.
    if (!TableExists(dm, table)) {
        goQuery.close();
        goQuery.setSql(QStringLiteral("create table ") + table +
                       QStringLiteral(" (菜名 varchar(25))"));
        goQuery.execSql();
    }

    for (const char* column : {"家庭分类", "菜系分类", "口味分类", "材料分类", "最爱", "时间段",
                               "simg", "属性1", "材料1", "做法1", "图片1"})
        EnsureColumn(dm, table, QString::fromUtf8(column), 15);

    for (const char* column : {"属性", "材料", "做法"}) {
        const QString c = QString::fromUtf8(column);
        addColumnIfMissing(goQuery, kSelectFrom + table, c,
                           QStringLiteral("ALTER table  ") + table +
                               QStringLiteral("  ADD COLUMN ") + c + QStringLiteral("  memo  "));
    }
    addColumnIfMissing(goQuery, kSelectFrom + table, QStringLiteral("图片"),
                       QStringLiteral("ALTER table ") + table +
                           QStringLiteral("   ADD COLUMN 图片  IMAGE  "));

    const QStringList items{QStringLiteral("szSound"), QStringLiteral("xssound"),
                            QStringLiteral("xyysound")};
    for (const QString& item : items)
        EnsureColumn(dm, item, QStringLiteral("图片"), 15);
    for (const QString& item : items)
        addColumnIfMissing(goQuery, QStringLiteral("select * from ") + item + QStringLiteral("  "),
                           QStringLiteral("PIC"),
                           QStringLiteral("ALTER table ") + item +
                               QStringLiteral("   ADD COLUMN PIC  IMAGE  "));
    for (const QString& item : items)
        EnsureColumn(dm, item, QStringLiteral("课件地址"), 150);

    EnsureColumn(dm, QStringLiteral("sys"), QStringLiteral("图片"), 15);
    addColumnIfMissing(goQuery, QStringLiteral("select * from sys  "), QStringLiteral("PIC"),
                       QStringLiteral("ALTER table sys   ADD COLUMN PIC  IMAGE  "));
}

} // namespace tx
