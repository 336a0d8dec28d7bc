#include "EditorFixture.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace tx::test {
namespace {

class ItemEditor : public EditorFixture, public ::testing::WithParamInterface<const LessonModule*> {
protected:
    const LessonModule& m() const { return *GetParam(); }
    bool literacy() const { return &m() == &sz; }

    void SetUp() override {
        addChapter(m(), 1, "数字");
        addChapter(m(), 2, "其他");
        addItem(m(), {1, "Cat", "数字", "c"});
        addItem(m(), {2, "一", "数字", "yi"});
        addItem(m(), {10, "Dog", "其他", "d"});
        list = itemList(m());
    }

    ItemDialog* dialog(ItemDialog::Mode mode) {
        auto* d = newItemDialog(t.services, m(), mode, list->chosenChapter(), list);
        d->show();
        return d;
    }

    // Opens the modify dialog on the item of the chapter's result at row, as 修改 does,
    // runs act on it and closes it if it is still open.
    void modifying(int row, const std::function<void(ItemDialog*)>& act) {
        child<QTableView>(list, "db1")->selectRow(row);
        bool opened = false;
        onNextModal([&](QWidget* modal) {
            opened = true;
            QPointer<QWidget> d = modal;
            act(static_cast<ItemDialog*>(modal));
            if (d && d->isVisible())
                d->close();
        });
        list->ModifySbClick();
        EXPECT_TRUE(opened);
    }

    void fill(QWidget* d, const QString& number, const QString& name, const QString& text) {
        setText(d, "numed", number);
        setText(d, "nameed", name);
        setText(d, literacy() ? "PYED" : "me1", text);
    }

    QString textBox() const { return literacy() ? "PYED" : "me1"; }

    ItemListWindow* list = nullptr;
};

enum class Says { Number, Empty, TooLong, InUse, TextEmpty, SaveFailed };

QString said(const LessonModule& m, Says s) {
    switch (s) {
    case Says::Number:
        return "此编辑框只能输入正整数";
    case Says::Empty:
        return m.numberOrNameEmpty.toString();
    case Says::TooLong:
        return m.nameTooLong.toString();
    case Says::InUse:
        return m.nameInUse.toString();
    case Says::TextEmpty:
        return m.textEmpty.toString();
    case Says::SaveFailed:
        return m.saveFailed.toString();
    }
    return {};
}

enum Applies { All, LiteracyOnly, TextModulesOnly };

struct ItemRefusal {
    const char* number;
    const char* name;
    const char* text;
    Applies applies;
    Says says;
};

bool applies(Applies a, bool literacy) {
    return a == All || (a == LiteracyOnly) == literacy;
}

TEST_P(ItemEditor, AddRefusalsInOrderWriteNothing) {
    const ItemRefusal refusals[] = {
        {"x", "新", "t", All, Says::Number},
        {"", "", "", All, Says::Number},
        {"x", "abcde", "", All, Says::Number},
        {"5", "", "t", All, Says::Empty},
        {"5", "abcde", "t", LiteracyOnly, Says::TooLong},
        {"5", "abcde", "", LiteracyOnly, Says::TooLong},
        {"5", "cat", "t", All, Says::InUse},
        {"5", "cat", "", All, Says::InUse},
        {"5", "新", "", TextModulesOnly, Says::TextEmpty},
        {"10", "新", "t", All, Says::SaveFailed},
    };
    const size_t before = items(m()).size();
    for (const ItemRefusal& r : refusals) {
        if (!applies(r.applies, literacy()))
            continue;
        SCOPED_TRACE(std::string(r.number) + "|" + r.name + "|" + r.text);
        t.dialogs.clear();
        ItemDialog* d = dialog(ItemDialog::Mode::Add);
        fill(d, r.number, r.name, r.text);
        d->AddBtnClick();
        ASSERT_EQ(messages(), QStringList{said(m(), r.says)});
        EXPECT_EQ(lastMessage().caption, "注意");
        EXPECT_EQ(lastMessage().icon,
                  r.says == Says::SaveFailed ? MessageIcon::Error : MessageIcon::Warning);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(textOf(d, "nameed"), QString::fromUtf8(r.name));
        EXPECT_EQ(textOf(d, textBox().toLatin1()), QString::fromUtf8(r.text));
        EXPECT_EQ(items(m()).size(), before);
        EXPECT_EQ(dm->goQuery.state(), Dataset::State::Browse);
        d->close();
    }
}

TEST_P(ItemEditor, ModifyRefusalsInOrderWriteNothing) {
    const ItemRefusal refusals[] = {
        {"x", "一", "t", All, Says::Number},
        {"2", "", "t", All, Says::Empty},
        {"2", "abcde", "t", LiteracyOnly, Says::TooLong},
        {"2", "Cat", "t", All, Says::InUse},
        {"2", "Cat", "", All, Says::InUse},
        {"2", "一", "", TextModulesOnly, Says::TextEmpty},
        {"1", "一", "t", All, Says::SaveFailed},
    };
    const std::vector<Item> before = items(m());
    for (const ItemRefusal& r : refusals) {
        if (!applies(r.applies, literacy()))
            continue;
        SCOPED_TRACE(std::string(r.number) + "|" + r.name + "|" + r.text);
        t.dialogs.clear();
        modifying(1, [&](ItemDialog* d) {
            EXPECT_EQ(textOf(d, "nameed"), "一");
            fill(d, r.number, r.name, r.text);
            d->ModifyBtnClick();
            ASSERT_EQ(messages(), QStringList{said(m(), r.says)});
            EXPECT_TRUE(d->isVisible());
            // A refused name is replaced by the previous one.
            EXPECT_EQ(textOf(d, "nameed"),
                      r.says == Says::InUse ? "一" : QString::fromUtf8(r.name));
        });
        EXPECT_EQ(items(m()).size(), before.size());
        EXPECT_EQ(item(m(), "一")->text, "yi");
    }
}

TEST_P(ItemEditor, NameChecksByMode) {
    // Add: another chapter's name is free.
    ItemDialog* d = dialog(ItemDialog::Mode::Add);
    fill(d, "5", "Dog", "t");
    d->AddBtnClick();
    EXPECT_EQ(messages(), QStringList());
    EXPECT_TRUE(item(m(), "Dog").has_value());
    // Modify: a name differing only by letter case is another name, and keeping the
    // previous name passes even when the chapter holds it twice.
    addItem(m(), {3, "一", "数字", "again"});
    list->CB1Change();
    modifying(0, [&](ItemDialog* d) {
        EXPECT_EQ(textOf(d, "nameed"), "Cat");
        setText(d, "nameed", "CAT");
        d->ModifyBtnClick();
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(messages(), QStringList());
    EXPECT_TRUE(item(m(), "CAT").has_value());
    modifying(1, [&](ItemDialog* d) {
        EXPECT_EQ(textOf(d, "nameed"), "一");
        setText(d, textBox().toLatin1(), "changed");
        d->ModifyBtnClick();
    });
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(item(m(), "一")->text, "changed");
}

TEST_P(ItemEditor, AddStoresEverythingAsTyped) {
    ItemDialog* d = dialog(ItemDialog::Mode::Add);
    EXPECT_EQ(d->windowTitle(), m().itemCaption.toString());
    EXPECT_EQ(className(d), m().itemDialog.toString());
    EXPECT_EQ(child<QLabel>(d, "ZJPL")->text(), "数字");
    const QString name = literacy() ? " a'" : " O'Neil -- ; ";
    const QString text = literacy() ? "yī 一个" : "第一行\n第二行";
    fill(d, "0", name, text);
    setText(d, "KJED", "not a courseware;--");
    d->AddBtnClick();
    EXPECT_EQ(messages(), QStringList());
    EXPECT_FALSE(d->isVisible());
    const auto stored = item(m(), name);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->number, 0);
    EXPECT_EQ(stored->chapter, "数字");
    EXPECT_EQ(stored->text, literacy() ? text : QString("第一行\r\n第二行"));
    EXPECT_EQ(stored->courseware, "not a courseware;--");
    EXPECT_EQ(stored->sound, "");
    EXPECT_EQ(stored->flag, "");
    EXPECT_TRUE(stored->pic.isNull());
    // The list's result was reopened: the new item first, by number.
    EXPECT_EQ(dm->goQuery.recordCount(), 3);
    EXPECT_EQ(dm->goQuery.recNo(), 0);
    EXPECT_EQ(dm->goQuery.fieldByName(m().nameField.toString()).asString(), name);
}

TEST_P(ItemEditor, ModifyHandsOverTheSelectedItem) {
    run(QStringLiteral("update %1 set 声音='a.wav', 课件地址='http://x/y.swf', %2='l1\r\nl2' "
                       "where %3=2")
            .arg(m().itemTable, m().textField, m().numberField));
    list->CB1Change();
    modifying(1, [&](ItemDialog* d) {
        EXPECT_EQ(textOf(d, "numed"), "2");
        EXPECT_EQ(textOf(d, "nameed"), "一");
        EXPECT_EQ(d->text(), "l1\r\nl2");
        EXPECT_EQ(child<QLabel>(d, "Sypl")->text(), "a.wav");
        EXPECT_EQ(textOf(d, "KJED"), "http://x/y.swf");
        EXPECT_TRUE(child(d, "ModifyBtn")->isVisibleTo(d));
        EXPECT_FALSE(child(d, "AddBtn")->isVisibleTo(d));
    });
}

TEST_P(ItemEditor, LiteracyNameLimitCountsGbkBytes) {
    struct Case {
        const char* name;
        bool refused;
    };
    const Case cases[] = {
        {"一二", false},
        {"abcd", false},
        {"a一b", false},
        {"\xF0\x9F\x98\x80", false}, // GBK lacks it: four bytes of GB18030
        {"abcde", true},
        {"一二三", true},
        {"a一bc", true},
        {" 一二", true},
        {"a\xF0\x9F\x98\x80", true},
    };
    int number = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.dialogs.clear();
        ItemDialog* d = dialog(ItemDialog::Mode::Add);
        fill(d, QString::number(number++), QString::fromUtf8(c.name), "t");
        d->AddBtnClick();
        const bool refused = messages() == QStringList{m().nameTooLong.toString()};
        EXPECT_EQ(refused, c.refused && literacy());
        EXPECT_EQ(item(m(), QString::fromUtf8(c.name)).has_value(), !refused);
        d->close();
    }
}

TEST_P(ItemEditor, SoundChooseTestDeleteAndStop) {
    ItemDialog* d = dialog(ItemDialog::Mode::Add);
    EXPECT_EQ(child<QPushButton>(d, "Selectfb")->text(), m().soundButton.toString());
    auto* sypl = child<QLabel>(d, "Sypl");
    d->TestsbClick();
    EXPECT_EQ(messages(), QStringList{"没有选择声音文件！"});
    EXPECT_EQ(lastMessage().caption, "注意");
    t.dialogs.clear();
    d->SelectfbClick();
    EXPECT_EQ(messages(), QStringList{"没有选取声音文件！"});
    EXPECT_EQ(lastMessage().caption, "关于选取声音");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Warning);
    EXPECT_EQ(t.dialogs.fileRequests().back().filter, "*.wav|*.wav");
    EXPECT_EQ(t.dialogs.fileRequests().back().defaultExtension, "*.wav");
    // A file in the program's sound library: shown in full, stored relative to the folder.
    const QString inside = writeFile("字语音库-x.wav", "RIFF");
    t.dialogs.answerFile(inside);
    d->SelectfbClick();
    EXPECT_EQ(sypl->text(), inside);
    d->TestsbClick();
    d->TestsbClick();
    EXPECT_EQ(t.sound.lines(), QStringList({"play " + inside, "play " + inside}));
    fill(d, "7", "新", "t");
    d->AddBtnClick();
    EXPECT_EQ(item(m(), "新")->sound, "字语音库-x.wav");
    // Closing after the save stops the sound.
    EXPECT_EQ(t.sound.lines().last(), "stop");

    // A file elsewhere keeps its full path; 删除 empties the box.
    d = dialog(ItemDialog::Mode::Add);
    t.dialogs.answerFile("/elsewhere/b.wav");
    d->SelectfbClick();
    fill(d, "8", "新二", "t");
    d->AddBtnClick();
    EXPECT_EQ(item(m(), "新二")->sound, "/elsewhere/b.wav");
    d = dialog(ItemDialog::Mode::Add);
    t.dialogs.answerFile("/elsewhere/c.wav");
    d->SelectfbClick();
    d->DELLSBClick();
    EXPECT_EQ(child<QLabel>(d, "Sypl")->text(), "");
    t.sound.clear();
    d->close(); // 放弃 and the close box stop a sound as well
    EXPECT_EQ(t.sound.lines(), QStringList{"stop"});
}

TEST_P(ItemEditor, CoursewareTestDeleteExampleAndPick) {
    ItemDialog* d = dialog(ItemDialog::Mode::Add);
    d->KJTESTSBClick();
    EXPECT_EQ(messages(), QStringList{"没有课件网址,请检查哦！"});
    QString caption;
    auto closeBrowser = [&](QWidget* modal) {
        caption = modal->windowTitle();
        modal->close();
    };
    fill(d, "5", "猫", "t");
    setText(d, "KJED", "http://example.org/cat.swf");
    onNextModal(closeBrowser);
    d->KJTESTSBClick();
    EXPECT_EQ(caption, "课件:猫     网址:http://example.org/cat.swf");
    EXPECT_EQ(t.browsers.allAddresses().last(), "http://example.org/cat.swf");
    onNextModal(closeBrowser);
    d->LOOKSBClick();
    const QString example = ItemDialog::exampleCourseware(t.paths.folder());
    EXPECT_TRUE(example.endsWith(".swf"));
    EXPECT_EQ(caption, "课件:幼儿识字     网址:" + example);
    d->KJDELSBClick();
    EXPECT_EQ(textOf(d, "KJED"), "");
    t.dialogs.clear();
    d->LOOKSB2Click();
    EXPECT_EQ(messages(), QStringList{"没有选取.swf文件！"});
    EXPECT_EQ(lastMessage().caption, "关于选取.swf文件");
    EXPECT_EQ(t.dialogs.fileRequests().back().filter, "*.swf|*.swf");
    const QString swf = writeFile("kj.swf", "FWS");
    t.dialogs.answerFile(swf);
    d->LOOKSB2Click();
    EXPECT_EQ(textOf(d, "KJED"), swf);
    d->AddBtnClick();
    EXPECT_EQ(item(m(), "猫")->courseware, "kj.swf");
}

TEST_P(ItemEditor, LimitCountsTheChosenChapter) {
    const int limit = m().itemLimit;
    EXPECT_EQ(limit, literacy() ? 25 : 20);
    // The other chapter is full; the chosen one holds limit - 1 items.
    for (int i = 0; i < limit - 1; ++i)
        addItem(m(), {100 + i, QString("o%1").arg(i), "其他", "t"});
    for (int i = 2; i < limit - 1; ++i)
        addItem(m(), {200 + i, QString("n%1").arg(i), "数字", "t"});
    list->CB1Change();
    ASSERT_EQ(dm->goQuery.recordCount(), limit - 1);
    QString opened;
    onNextModal([&](QWidget* modal) {
        opened = className(modal);
        setText(modal, "numed", "999");
        setText(modal, "nameed", "last");
        setText(modal, literacy() ? "PYED" : "me1", "t");
        static_cast<ItemDialog*>(modal)->AddBtnClick();
    });
    list->AddSbClick();
    EXPECT_EQ(opened, m().itemDialog.toString());
    EXPECT_EQ(dm->goQuery.recordCount(), limit);
    list->AddSbClick();
    EXPECT_EQ(messages(), QStringList{m().itemLimitReached.toString()});
    EXPECT_EQ(lastMessage().caption, "注意");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Warning);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_P(ItemEditor, ChooserGridDeleteAndReturn) {
    EXPECT_EQ(className(list), m().itemListWindow.toString());
    EXPECT_EQ(list->windowTitle(), m().itemCaption.toString());
    auto* cb1 = child<QComboBox>(list, "CB1");
    EXPECT_FALSE(cb1->isEditable());
    EXPECT_EQ(cb1->count(), 2);
    EXPECT_EQ(cb1->currentText(), "数字");
    auto* grid = child<QTableView>(list, "db1");
    QStringList shown, expected;
    for (int visual = 0; visual < grid->model()->columnCount(); ++visual) {
        const int logical = grid->horizontalHeader()->logicalIndex(visual);
        if (!grid->isColumnHidden(logical))
            shown << grid->model()->headerData(logical, Qt::Horizontal).toString() + u':' +
                         QString::number(grid->columnWidth(logical));
    }
    for (const GridColumn& c : m().itemGridColumns)
        expected << c.field.toString() + u':' + QString::number(c.width);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(grid->model()->rowCount(), 2);

    cb1->setCurrentIndex(1);
    EXPECT_EQ(grid->model()->rowCount(), 1);
    t.dialogs.answerMessage(MessageButton::No);
    list->DelSbClick();
    EXPECT_EQ(messages(), QStringList{"确定要进行删除操作吗?"});
    EXPECT_TRUE(item(m(), "Dog").has_value());
    list->DelSbClick(); // answered Yes
    EXPECT_FALSE(item(m(), "Dog").has_value());
    EXPECT_EQ(cb1->currentText(), "其他");
    EXPECT_EQ(grid->model()->rowCount(), 0);
    // An empty chapter: nothing to modify or delete.
    t.dialogs.clear();
    list->ModifySbClick();
    list->DelSbClick();
    EXPECT_EQ(messages(), QStringList());

    list->close();
    EXPECT_EQ(returns, 0);
    ItemListWindow* again = itemList(m());
    QTest::mouseClick(child(again, "quitsb"), Qt::LeftButton);
    EXPECT_EQ(returns, 1);
}

TEST_P(ItemEditor, NoChaptersNothingHappens) {
    list->close();
    run(QStringLiteral("delete from %1").arg(m().chapterTable));
    list = itemList(m());
    EXPECT_EQ(child<QComboBox>(list, "CB1")->count(), 0);
    list->AddSbClick();
    list->ModifySbClick();
    list->DelSbClick();
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Modules, ItemEditor, ::testing::ValuesIn(kModules), [](const auto& info) {
    return info.param->moduleCode.toString().toStdString();
});

} // namespace
} // namespace tx::test
