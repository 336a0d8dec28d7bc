#include "ShippedSchema.h"

#include "AccessDialect.h"

namespace tx {

namespace {

struct ItemTable {
    const char* table;
    const char* number;
    const char* name;
    const char* text;
};

constexpr ItemTable kItemTables[] = {
    {"szSound", "字号", "字名", "拼音词组"},
    {"xsSound", "诗号", "诗名", "诗"},
    {"xyySound", "语号", "英语名", "汉语翻译"},
};

QString text(const char* column) {
    return sqliteColumnDefinition(column, "memo");
}

} // namespace

QStringList shippedSchemaStatements(bool upgradeColumns) {
    QStringList out;
    for (const char* zj : {"ZJ", "xsZJ", "xyyZJ"})
        out << QStringLiteral("CREATE TABLE \"%1\" (\"章号\" INTEGER UNIQUE, %2)")
                   .arg(zj, text("章节"));
    for (const ItemTable& t : kItemTables) {
        QString columns =
            QStringLiteral("\"%1\" INTEGER UNIQUE, %2, %3, %4, %5")
                .arg(t.number, text(t.name), text(t.text), text("章节"), text("声音"));
        if (upgradeColumns)
            columns += ", " + sqliteColumnDefinition("图片", "varchar(15)") + ", " +
                       sqliteColumnDefinition("PIC", "IMAGE") + ", " +
                       sqliteColumnDefinition("课件地址", "varchar(150)");
        out << QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(t.table, columns);
    }
    QString sys = text("日期");
    if (upgradeColumns)
        sys += ", " + sqliteColumnDefinition("图片", "varchar(15)") + ", " +
               sqliteColumnDefinition("PIC", "IMAGE");
    out << QStringLiteral("CREATE TABLE \"SYS\" (%1)").arg(sys);
    return out;
}

} // namespace tx
