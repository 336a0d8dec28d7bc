#include "lessons/LessonModule.h"

#include "data/Dataset.h"

#include <QtEndian>

namespace tx {

namespace {

constexpr GridColumn kSzItemColumns[] = {
    {u"字号", 60, false},  {u"字名", 60, true},  {u"拼音词组", 170, false},
    {u"章节", 100, false}, {u"图片", 30, false}, {u"课件地址", 200, false},
    {u"声音", 400, false},
};
constexpr GridColumn kXsItemColumns[] = {
    {u"诗号", 60, false}, {u"诗名", 60, true},       {u"章节", 100, false},
    {u"图片", 30, false}, {u"课件地址", 200, false}, {u"声音", 400, false},
};
constexpr GridColumn kXyyItemColumns[] = {
    {u"语号", 60, false}, {u"英语名", 230, true},    {u"章节", 100, false},
    {u"图片", 30, false}, {u"课件地址", 200, false}, {u"声音", 400, false},
};

QString text(QStringView view) {
    return view.toString();
}

} // namespace

constinit const LessonModule sz{
    .moduleCode = u"sz",
    .chapterTable = u"ZJ",
    .itemTable = u"szSound",
    .numberField = u"字号",
    .nameField = u"字名",
    .textField = u"拼音词组",
    .textRequired = false,
    .nameByteLimit = 4,
    .itemLimit = 25,
    .learningWindow = u"TszmainForm",
    .chapterListWindow = u"TZJFORM",
    .chapterDialog = u"TZJaddForm",
    .itemListWindow = u"TSzsoundForm",
    .itemDialog = u"TSzsoundaddForm",
    .helpWindow = u"TMYHLPForm",
    .chapterEditButton = u"编辑章节",
    .itemEditButton = u"编辑字",
    .chapterListCaption = u"字章节编辑",
    .chapterDialogCaption = u"章节编辑",
    .itemCaption = u"字编辑",
    .numberLabel = u"字号",
    .nameLabel = u"字(词)",
    .textLabel = u"拼音词组",
    .soundButton = u"选取声音文件",
    .chapterHasItems = u"本章节有字库,不能删除！",
    .itemLimitReached = u"一个章节最多为25个字,孩子们不能一下子学太多哦！",
    .numberOrNameEmpty = u"字号和字名都不能为空！",
    .nameTooLong = u"字名长度超出范围！",
    .nameInUse = u"字名不能相同！",
    .textEmpty = u"",
    .saveFailed = u"储存出错,字号不能相同,请检查",
    .itemGridColumns = kSzItemColumns,
    .windowCaption = u"识字教学->发音识字，小朋友快快来学哦",
    .outerWidth = 808,
    .outerHeight = 612,
    .title = u"幼儿识字",
    .statusPanel = u"->发音识字，小朋友快快来学哦",
    .treeHint = u"",
    .treeWidth = 0,
    .nextItemCaption = u"",
    .previousItemCaption = u"",
    .nothingSelected = u"",
};

constinit const LessonModule xs{
    .moduleCode = u"xs",
    .chapterTable = u"xsZJ",
    .itemTable = u"xsSound",
    .numberField = u"诗号",
    .nameField = u"诗名",
    .textField = u"诗",
    .textRequired = true,
    .nameByteLimit = 0,
    .itemLimit = 20,
    .learningWindow = u"TxsmainForm",
    .chapterListWindow = u"TXSZJForm",
    .chapterDialog = u"TXSZJaddForm",
    .itemListWindow = u"TxssoundForm",
    .itemDialog = u"TxssoundaddForm",
    .helpWindow = u"TxsMYHLPForm",
    .chapterEditButton = u"编辑章节",
    .itemEditButton = u"编辑诗",
    .chapterListCaption = u"诗章节编辑",
    .chapterDialogCaption = u"章节编辑",
    .itemCaption = u"诗编辑",
    .numberLabel = u"诗号",
    .nameLabel = u"诗名",
    .textLabel = u"诗内容",
    .soundButton = u"选取声音文件",
    .chapterHasItems = u"本章节有诗库,不能删除！",
    .itemLimitReached = u"一个章节最多为20首诗,孩子们不能一下子学太多哦！",
    .numberOrNameEmpty = u"诗号和诗名都不能为空！",
    .nameTooLong = u"",
    .nameInUse = u"诗名不能相同！",
    .textEmpty = u"诗内容不能为空！",
    .saveFailed = u"储存出错,诗号不能相同,请检查",
    .itemGridColumns = kXsItemColumns,
    .windowCaption = u"幼儿学诗->朗读学诗，小朋友快快来学哦",
    .outerWidth = 808,
    .outerHeight = 612,
    .title = u"幼儿学诗",
    .statusPanel = u"->朗读学诗，小朋友快快来学哦",
    .treeHint = u"双击诗名可自动朗读诗哦",
    .treeWidth = 246,
    .nextItemCaption = u"下一首",
    .previousItemCaption = u"上一首",
    .nothingSelected = u"请先选择左边的诗名哦！",
};

constinit const LessonModule xyy{
    .moduleCode = u"xyy",
    .chapterTable = u"xyyZJ",
    .itemTable = u"xyySound",
    .numberField = u"语号",
    .nameField = u"英语名",
    .textField = u"汉语翻译",
    .textRequired = true,
    .nameByteLimit = 0,
    .itemLimit = 20,
    .learningWindow = u"TXYYMAINForm",
    .chapterListWindow = u"TXyyZJForm",
    .chapterDialog = u"TXyyZJaddForm",
    .itemListWindow = u"TxyysoundForm",
    .itemDialog = u"TxyysoundaddForm",
    .helpWindow = u"TxyyMYHLPForm",
    .chapterEditButton = u"编辑章节",
    .itemEditButton = u"编辑英语",
    .chapterListCaption = u"英语章节编辑",
    .chapterDialogCaption = u"章节编辑",
    .itemCaption = u"英语编辑",
    .numberLabel = u"语号",
    .nameLabel = u"英语名",
    .textLabel = u"汉语翻译",
    .soundButton = u"选取",
    .chapterHasItems = u"本章节有英语库,不能删除！",
    .itemLimitReached = u"一个章节最多为20句英语,孩子们不能一下子学太多哦！",
    .numberOrNameEmpty = u"语号和英语名都不能为空！",
    .nameTooLong = u"",
    .nameInUse = u"英语名不能相同！",
    .textEmpty = u"汉语翻译内容不能为空！",
    .saveFailed = u"储存出错,语号不能相同,请检查",
    .itemGridColumns = kXyyItemColumns,
    .windowCaption = u"发音学英语->发音学英语，小朋友快快来学哦",
    .outerWidth = 808,
    .outerHeight = 587,
    .title = u"幼儿学英语",
    .statusPanel = u"->发音学英语，小朋友快快来学哦",
    .treeHint = u"双击英语名可自动发音哦",
    .treeWidth = 334,
    .nextItemCaption = u"下一句",
    .previousItemCaption = u"上一句",
    .nothingSelected = u"请先选择左边的英语名哦！",
};

QString LessonModule::chapterQuery() const {
    return QStringLiteral("select * from %1 order by 章号").arg(chapterTable);
}

QStringList LessonModule::itemQuery() const {
    return {QStringLiteral("select * from %1 where 章节=:zzj").arg(itemTable),
            QStringLiteral(" order by  %1").arg(numberField)};
}

QString LessonModule::allItemsQuery() const {
    return QStringLiteral("select * from %1 order by %2")
        .arg(text(itemTable).toLower(), numberField);
}

QString LessonModule::allChaptersQuery() const {
    return QStringLiteral("select * from %1").arg(text(chapterTable).toLower());
}

QString LessonModule::chapterItemsQuery() const {
    return QStringLiteral("select * from %1 where 章节=:zzj").arg(itemTable);
}

QString LessonModule::renamedChapterItemsQuery() const {
    return QStringLiteral("select * from %1  where  章节=:zjname").arg(itemTable);
}

namespace {

void run(Dataset& ds, const QStringList& lines, QStringView param = {}, const QString& value = {}) {
    ds.close();
    ds.clearSql();
    for (const QString& line : lines) {
        ds.addSql(line);
    }
    if (!param.isEmpty()) {
        ds.setParam(param.toString(), value);
    }
    ds.open();
}

} // namespace

void LessonModule::openChapters(Dataset& ds) const {
    run(ds, {chapterQuery()});
}

void LessonModule::openItems(Dataset& ds, const QString& chapter) const {
    run(ds, itemQuery(), kChapterParam, chapter);
}

void LessonModule::openAllItems(Dataset& ds) const {
    run(ds, {allItemsQuery()});
}

void LessonModule::openAllChapters(Dataset& ds) const {
    run(ds, {allChaptersQuery()});
}

void LessonModule::openChapterItems(Dataset& ds, const QString& chapter) const {
    run(ds, {chapterItemsQuery()}, kChapterParam, chapter);
}

void LessonModule::openRenamedChapterItems(Dataset& ds, const QString& oldName) const {
    run(ds, {renamedChapterItemsQuery()}, kOldChapterNameParam, oldName);
}

Chapter readChapter(Dataset& ds) {
    return {ds.fieldByName(kChapterNumberField.toString()).asInteger(),
            ds.fieldByName(kChapterNameField.toString()).asString()};
}

LessonItem readItem(Dataset& ds, const LessonModule& module) {
    LessonItem item;
    item.number = ds.fieldByName(module.numberField.toString()).asInteger();
    item.name = ds.fieldByName(module.nameField.toString()).asString();
    item.chapter = ds.fieldByName(kItemChapterField.toString()).asString();
    item.text = ds.fieldByName(module.textField.toString()).asString();
    item.sound = ds.fieldByName(kSoundField.toString()).asString();
    item.courseware = ds.fieldByName(kCoursewareField.toString()).asString();
    item.pictureFlag = ds.fieldByName(kPictureFlagField.toString()).asString();
    item.rowKey = item.number;
    return item;
}

qsizetype pictureHeaderSize(QByteArrayView stored) {
    constexpr qsizetype kHeader = 8;
    if (stored.size() < kHeader) {
        return 0;
    }
    const auto* p = reinterpret_cast<const uchar*>(stored.data());
    const bool header = qFromLittleEndian<quint16>(p) == 1 &&
                        qFromLittleEndian<quint16>(p + 2) == 0x0100 &&
                        qFromLittleEndian<quint32>(p + 4) == quint64(stored.size() - kHeader);
    return header ? kHeader : 0;
}

QByteArray pictureBitmapBytes(const QByteArray& stored) {
    const qsizetype skip = pictureHeaderSize(stored);
    return skip == 0 ? stored : stored.mid(skip);
}

} // namespace tx
