#include "Library.h"

#include "platform/Gbk.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringList>

namespace tx::content {

SourceError::SourceError(const QString& f, int l, const QString& r)
    : std::runtime_error(QStringLiteral("%1:%2: %3").arg(f).arg(l).arg(r).toStdString()), file(f),
      line(l), reason(r) {}

const QList<ModuleInfo>& modules() {
    static const QList<ModuleInfo> all = {
        {"sz", "字", "ZJ", "szSound", "字号", "字名", "拼音词组", "字语音库", false, 4, 25, "cmn"},
        {"xs", "诗", "xsZJ", "xsSound", "诗号", "诗名", "诗", "诗语音库", true, 0, 20, "cmn"},
        {"xyy", "语", "xyyZJ", "xyySound", "语号", "英语名", "汉语翻译", "英语语音库", true, 0, 20,
         "en-us"},
    };
    return all;
}

namespace {

struct Line {
    int number;
    QStringList fields;
};

QList<Line> readLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw SourceError(path, 0, QStringLiteral("cannot read the file: ") + f.errorString());
    const QStringList raw = QString::fromUtf8(f.readAll()).split(u'\n');
    QList<Line> out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QString text = raw[i].trimmed();
        if (text.isEmpty() || text.startsWith(u'#'))
            continue;
        Line line{int(i + 1), text.split(u'|')};
        for (QString& field : line.fields)
            field = field.trimmed();
        out << line;
    }
    return out;
}

class Reader {
public:
    Reader(const QString& path, const Line& line) : path_(path), line_(line) {}

    [[noreturn]] void fail(const QString& reason) const {
        throw SourceError(path_, line_.number, reason);
    }

    // Fields after the keyword: the required names, then the optional ones.
    void expect(const QStringList& required, int optional = 0) const {
        const qsizetype given = line_.fields.size() - 1;
        if (given < required.size())
            fail(QStringLiteral("missing field %1").arg(required[given]));
        if (given > required.size() + optional)
            fail(QStringLiteral("too many fields (%1)").arg(given));
    }

    QString field(int i) const { return i < line_.fields.size() ? line_.fields[i] : QString(); }

    QString nonEmpty(int i, const char* what) const {
        const QString v = field(i);
        if (v.isEmpty())
            fail(QStringLiteral("empty %1").arg(QString::fromUtf8(what)));
        return v;
    }

    int positive(int i, const char* what) const {
        bool ok = false;
        const int v = field(i).toInt(&ok);
        if (!ok || v <= 0)
            fail(QStringLiteral("%1 is not a positive whole number: \"%2\"")
                     .arg(QString::fromUtf8(what), field(i)));
        return v;
    }

    Voice voice() const {
        expect({"voice", "rate"});
        Voice v{nonEmpty(1, "voice"), positive(2, "rate")};
        if (v.rate < 40 || v.rate > 400)
            fail(QStringLiteral("rate %1 outside 40..400").arg(v.rate));
        return v;
    }

private:
    QString path_;
    const Line& line_;
};

// Names are unique within a chapter as the editors' locate finds them: Latin letters
// without regard to case.
QString nameKey(const QString& name) {
    return name.toCaseFolded();
}

Module readModule(const QString& folder, const ModuleInfo& info) {
    Module m{info,
             folder + u'/' + QString::fromUtf8(info.code) + ".txt",
             {info.defaultVoice, 120},
             {},
             {}};
    const QString keyword = QString::fromUtf8(info.itemKeyword);
    bool voiceSeen = false;
    const QList<Line> lines = readLines(m.file);
    for (const Line& line : lines) {
        const Reader r(m.file, line);
        const QString kind = line.fields[0];
        if (kind == "语音") {
            if (voiceSeen)
                r.fail("second 语音 line");
            voiceSeen = true;
            m.voice = r.voice();
        } else if (kind == "章") {
            r.expect({"章号", "章节"});
            m.chapters << Chapter{r.positive(1, "章号"), r.nonEmpty(2, "章节"), line.number};
        } else if (kind == keyword) {
            r.expect({info.numberField, info.nameField, "章节", info.textField, "声音", "图片"}, 1);
            Item item;
            item.number = r.positive(1, info.numberField);
            item.name = r.nonEmpty(2, info.nameField);
            item.chapter = r.nonEmpty(3, "章节");
            item.text = r.field(4).split(u'/').join(u'\n');
            item.sound = r.field(5);
            item.picture = r.nonEmpty(6, "图片");
            item.courseware = r.field(7);
            item.line = line.number;
            if (info.textRequired && item.text.trimmed().isEmpty())
                r.fail(QStringLiteral("empty %1").arg(QString::fromUtf8(info.textField)));
            if (info.nameByteLimit > 0 && gbkByteLength(item.name) > info.nameByteLimit)
                r.fail(QStringLiteral("name \"%1\" is %2 GBK bytes, more than %3")
                           .arg(item.name)
                           .arg(gbkByteLength(item.name))
                           .arg(info.nameByteLimit));
            if (!item.sound.isEmpty() && !item.sound.endsWith(".wav", Qt::CaseInsensitive))
                r.fail(QStringLiteral("sound \"%1\" is not a .wav file name").arg(item.sound));
            if (item.sound.contains(u'/') || item.sound.contains(u'\\'))
                r.fail(QStringLiteral("sound \"%1\" must be a bare file name").arg(item.sound));
            if (item.courseware.size() > 150)
                r.fail("courseware address longer than 150 characters");
            m.items << item;
        } else {
            r.fail(QStringLiteral("unknown line kind \"%1\" (expected 语音, 章 or %2)")
                       .arg(kind, keyword));
        }
    }

    QSet<int> chapterNumbers;
    QHash<QString, int> chapterItems;
    for (const Chapter& c : std::as_const(m.chapters)) {
        if (chapterNumbers.contains(c.number))
            throw SourceError(m.file, c.line, QStringLiteral("duplicate 章号 %1").arg(c.number));
        if (chapterItems.contains(c.name))
            throw SourceError(m.file, c.line, QStringLiteral("duplicate 章节 \"%1\"").arg(c.name));
        chapterNumbers.insert(c.number);
        chapterItems.insert(c.name, 0);
    }
    QSet<int> numbers;
    QSet<QString> namesInChapters;
    QSet<QString> sounds;
    for (const Item& item : std::as_const(m.items)) {
        auto fail = [&](const QString& reason) { throw SourceError(m.file, item.line, reason); };
        if (numbers.contains(item.number))
            fail(QStringLiteral("duplicate %1 %2")
                     .arg(QString::fromUtf8(info.numberField))
                     .arg(item.number));
        numbers.insert(item.number);
        auto chapter = chapterItems.find(item.chapter);
        if (chapter == chapterItems.end())
            fail(QStringLiteral("chapter \"%1\" is not defined").arg(item.chapter));
        if (++*chapter > info.itemLimit)
            fail(QStringLiteral("chapter \"%1\" holds more than %2 items")
                     .arg(item.chapter)
                     .arg(info.itemLimit));
        const QString key = item.chapter + u'\n' + nameKey(item.name);
        if (namesInChapters.contains(key))
            fail(QStringLiteral("duplicate name \"%1\" in chapter \"%2\"")
                     .arg(item.name, item.chapter));
        namesInChapters.insert(key);
        if (!item.sound.isEmpty()) {
            if (sounds.contains(item.sound.toCaseFolded()))
                fail(QStringLiteral("sound file \"%1\" used twice").arg(item.sound));
            sounds.insert(item.sound.toCaseFolded());
        }
    }
    return m;
}

} // namespace

Library readLibrary(const QString& folder) {
    Library lib;
    const QString libraryFile = folder + "/library.txt";
    int dateLine = 0;
    for (const Line& line : readLines(libraryFile)) {
        const Reader r(libraryFile, line);
        if (line.fields[0] != "日期")
            r.fail(QStringLiteral("unknown line kind \"%1\" (expected 日期)").arg(line.fields[0]));
        if (dateLine)
            r.fail(QStringLiteral("second 日期 line (first on line %1)").arg(dateLine));
        r.expect({"日期"});
        lib.date = r.nonEmpty(1, "日期");
        dateLine = line.number;
    }
    if (!dateLine)
        throw SourceError(libraryFile, 1, "missing 日期 line");

    for (const ModuleInfo& info : modules())
        lib.modules << readModule(folder, info);

    const QString quizFile = folder + "/quiz.txt";
    lib.quizVoice = {"cmn", 120};
    QSet<QString> files;
    for (const Line& line : readLines(quizFile)) {
        const Reader r(quizFile, line);
        if (line.fields[0] == "语音") {
            lib.quizVoice = r.voice();
        } else if (line.fields[0] == "声") {
            r.expect({"声音", "文本"});
            QuizSound s{r.nonEmpty(1, "声音"), r.nonEmpty(2, "文本"), line.number};
            if (!s.file.endsWith(".wav") || s.file.contains(u'/'))
                r.fail(QStringLiteral("\"%1\" is not a bare .wav file name").arg(s.file));
            if (files.contains(s.file))
                r.fail(QStringLiteral("sound file \"%1\" used twice").arg(s.file));
            files.insert(s.file);
            lib.quiz << s;
        } else {
            r.fail(QStringLiteral("unknown line kind \"%1\" (expected 语音 or 声)")
                       .arg(line.fields[0]));
        }
    }
    if (const QString recipes = folder + "/recipes.txt"; QFile::exists(recipes))
        lib.recipes = readRecipes(recipes, false).recipes;
    return lib;
}

QString spokenText(const Module& module, const Item& item) {
    const QString code = QString::fromUtf8(module.info.code);
    if (code == "sz") {
        // The character, then its word group; the pinyin tokens are for the eye only.
        QStringList words;
        for (const QString& token : item.text.split(u' ', Qt::SkipEmptyParts)) {
            bool han = false;
            for (QChar c : token)
                han = han || c.script() == QChar::Script_Han;
            if (han)
                words << token;
        }
        return words.isEmpty() ? item.name : item.name + "。" + words.join("，") + "。";
    }
    if (code == "xs")
        return item.name + "。" + QString(item.text).replace(u'·', u' ').replace(u'\n', u' ');
    return item.name;
}

} // namespace tx::content
