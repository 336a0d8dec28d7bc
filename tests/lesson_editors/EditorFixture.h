#pragma once

#include "data/Tdm.h"
#include "lessons/ChapterEditor.h"
#include "lessons/ItemEditor.h"
#include "lessons/LessonDatabase.h"
#include "lessons/LessonModule.h"
#include "platform/testing/TestServices.h"
#include "widgets/WidgetAccessibility.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace tx::test {

using Item = ItemRow;

// A program folder with a database of the shipped tables, the data module connected
// to it and every platform service as its test double. Rows are written and read back
// through a separate SQLite handle, so the checks see what is stored.
class EditorFixture : public ::testing::Test, public LessonDatabase {
protected:
    EditorFixture() {
        installWidgetAccessibility();
        t.paths.setExecutablePath(dir.filePath("tongxue"));
    }
    ~EditorFixture() override {
        QList<QPointer<QWidget>> windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!w->parentWidget())
                windows << w;
        for (const QPointer<QWidget>& w : windows)
            delete w.data();
        if (dm)
            dm->DataModuleDestroy();
    }

    // Chapters as stored, by number: "number name".
    QStringList chapters(const LessonModule& m) {
        QStringList out;
        query(QStringLiteral("select 章号, 章节 from %1 order by 章号").arg(m.chapterTable),
              [&](sqlite3_stmt* st) {
                  out << QString::number(sqlite3_column_int(st, 0)) + u' ' + column(st, 1);
              });
        return out;
    }

    std::vector<Item> items(const LessonModule& m) {
        std::vector<Item> out;
        query(
            QStringLiteral("select %1, %2, 章节, %3, 声音, 课件地址, 图片, PIC from %4 order by %1")
                .arg(m.numberField, m.nameField, m.textField, m.itemTable),
            [&](sqlite3_stmt* st) {
                Item item{sqlite3_column_int(st, 0),
                          column(st, 1),
                          column(st, 2),
                          column(st, 3),
                          column(st, 4),
                          column(st, 5),
                          column(st, 6),
                          QByteArray()};
                if (sqlite3_column_type(st, 7) != SQLITE_NULL)
                    item.pic = QByteArray(static_cast<const char*>(sqlite3_column_blob(st, 7)),
                                          sqlite3_column_bytes(st, 7));
                out.push_back(item);
            });
        return out;
    }

    std::optional<Item> item(const LessonModule& m, const QString& name) {
        for (const Item& i : items(m))
            if (i.name == name)
                return i;
        return std::nullopt;
    }

    void connectDm() {
        dm = std::make_unique<Tdm>(t.services);
        ASSERT_EQ(dm->DataModuleCreate(), QString());
        t.services.dm = dm.get();
    }

    // The chapter list window, shown (it runs its queries), with a return counter.
    ChapterListWindow* chapterList(const LessonModule& m) {
        if (!dm)
            connectDm();
        auto* w = newChapterListWindow(
            t.services, m, [this] { ++returns; }, nullptr);
        w->show();
        return w;
    }

    ItemListWindow* itemList(const LessonModule& m) {
        if (!dm)
            connectDm();
        auto* w = newItemListWindow(
            t.services, m, [this] { ++returns; }, nullptr);
        w->show();
        return w;
    }

    // A file in the program folder; answers its full path.
    QString writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QStringList messages() const { return t.dialogs.messageTexts(); }
    const ScriptedDialogs::Message& lastMessage() const { return t.dialogs.messages().back(); }

    TestServices t;
    std::unique_ptr<Tdm> dm;
    int returns = 0;
};

template <typename T = QWidget> T* child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline void setText(QWidget* window, const char* name, const QString& text) {
    QWidget* box = child(window, name);
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setText(text);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
        memo->setPlainText(text);
}

inline QString textOf(QWidget* window, const char* name) {
    QWidget* box = child(window, name);
    if (auto* line = qobject_cast<QLineEdit*>(box))
        return line->text();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
        return memo->toPlainText();
    return {};
}

// A window's class name without its namespace.
inline QString className(const QObject* object) {
    return QString::fromLatin1(object->metaObject()->className()).remove(QStringLiteral("tx::"));
}

inline const LessonModule* const kModules[] = {&sz, &xs, &xyy};

} // namespace tx::test
