#include "EditorFixture.h"

#include <QHeaderView>
#include <QTableView>
#include <QTest>

namespace tx::test {
namespace {

class ChapterEditor : public EditorFixture,
                      public ::testing::WithParamInterface<const LessonModule*> {
protected:
    const LessonModule& m() const { return *GetParam(); }

    // Two chapters; the second holds two items.
    void SetUp() override {
        addChapter(m(), 1, "Animals");
        addChapter(m(), 2, "数字");
        addItem(m(), {1, "一", "数字", "yi"});
        addItem(m(), {2, "二", "数字", "er"});
        list = chapterList(m());
    }

    ChapterDialog* dialog(ChapterDialog::Mode mode) {
        auto* d = newChapterDialog(t.services, m(), mode, list);
        d->show();
        return d;
    }

    // Makes row the grid's selected row.
    void select(int row) { child<QTableView>(list, "db1")->selectRow(row); }

    ChapterListWindow* list = nullptr;
};

struct Refusal {
    const char* number;
    const char* name;
    const char* message;
    MessageIcon icon;
};

TEST_P(ChapterEditor, AddRefusalsInOrderWriteNothing) {
    const Refusal refusals[] = {
        {"x", "新章", "此编辑框只能输入正整数", MessageIcon::Warning},
        {"", "", "此编辑框只能输入正整数", MessageIcon::Warning},
        {"x", "animals", "此编辑框只能输入正整数", MessageIcon::Warning},
        {"3", "", "章号和章节都不能为空！", MessageIcon::Warning},
        {"3", "ANIMALS", "章节名不能相同！", MessageIcon::Warning},
        {"1", "animals", "章节名不能相同！", MessageIcon::Warning},
        {"1", "新章", "储存出错,章号不能相同,请检查", MessageIcon::Error},
    };
    const QStringList before = chapters(m());
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(std::string(r.number) + "|" + r.name);
        t.dialogs.clear();
        ChapterDialog* d = dialog(ChapterDialog::Mode::Add);
        setText(d, "numed", QString::fromUtf8(r.number));
        setText(d, "nameed", QString::fromUtf8(r.name));
        d->AddBtnClick();
        ASSERT_EQ(messages(), QStringList{QString::fromUtf8(r.message)});
        EXPECT_EQ(lastMessage().caption, "注意");
        EXPECT_EQ(lastMessage().icon, r.icon);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(textOf(d, "nameed"), QString::fromUtf8(r.name));
        EXPECT_EQ(chapters(m()), before);
        EXPECT_EQ(dm->ALLQuery.state(), Dataset::State::Browse);
        d->close();
    }
}

TEST_P(ChapterEditor, AddStoresAsTypedAndListsByNumber) {
    ChapterDialog* d = dialog(ChapterDialog::Mode::Add);
    EXPECT_TRUE(child(d, "AddBtn")->isVisibleTo(d));
    EXPECT_FALSE(child(d, "ModifyBtn")->isVisibleTo(d));
    setText(d, "numed", "0");
    setText(d, "nameed", " it's -- ; ");
    d->AddBtnClick();
    EXPECT_EQ(messages(), QStringList());
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(chapters(m()), QStringList({"0  it's -- ; ", "1 Animals", "2 数字"}));
    // The grid's result was reopened: the new chapter first, by number.
    EXPECT_EQ(dm->ALLQuery.recNo(), 0);
    EXPECT_EQ(dm->ALLQuery.fieldByName("章节").asString(), " it's -- ; ");
}

TEST_P(ChapterEditor, ModifyRefusalsInOrderWriteNothing) {
    const Refusal refusals[] = {
        {"x", "Animals", "此编辑框只能输入正整数", MessageIcon::Warning},
        {"2", "", "章号和章节都不能为空！", MessageIcon::Warning},
        {"2", "Animals", "章节不能相同！", MessageIcon::Warning},
        {"1", "数字", "储存出错,章号不能相同,请检查", MessageIcon::Error},
        {"1", "新名", "储存出错,章号不能相同,请检查", MessageIcon::Error},
    };
    const QStringList before = chapters(m());
    const std::vector<Item> itemsBefore = items(m());
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(std::string(r.number) + "|" + r.name);
        t.dialogs.clear();
        select(1);
        ChapterDialog* d = dialog(ChapterDialog::Mode::Modify);
        d->setChapter("2", "数字");
        setText(d, "numed", QString::fromUtf8(r.number));
        setText(d, "nameed", QString::fromUtf8(r.name));
        d->ModifyBtnClick();
        ASSERT_EQ(messages(), QStringList{QString::fromUtf8(r.message)});
        EXPECT_EQ(lastMessage().icon, r.icon);
        EXPECT_TRUE(d->isVisible());
        // The previous name is put back after a duplicate.
        const bool duplicate = QString::fromUtf8(r.message) == "章节不能相同！";
        EXPECT_EQ(textOf(d, "nameed"), duplicate ? QString("数字") : QString::fromUtf8(r.name));
        EXPECT_EQ(chapters(m()), before);
        EXPECT_EQ(items(m()).size(), itemsBefore.size());
        EXPECT_EQ(items(m()).front().chapter, "数字");
        d->close();
    }
}

TEST_P(ChapterEditor, ModifyOpensOnTheSelectedChapterAndRenamesItsItems) {
    select(1);
    onNextModal([&](QWidget* modal) {
        EXPECT_EQ(className(modal), m().chapterDialog.toString());
        EXPECT_EQ(modal->windowTitle(), "章节编辑");
        EXPECT_EQ(textOf(modal, "numed"), "2");
        EXPECT_EQ(textOf(modal, "nameed"), "数字");
        EXPECT_TRUE(child(modal, "ModifyBtn")->isVisibleTo(modal));
        EXPECT_FALSE(child(modal, "AddBtn")->isVisibleTo(modal));
        // Letter case alone makes a different name for the exact comparison.
        setText(modal, "nameed", "ANIMALS");
        static_cast<ChapterDialog*>(modal)->ModifyBtnClick();
    });
    QMetaObject::invokeMethod(list, "ModifySbClick");
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(chapters(m()), QStringList({"1 Animals", "2 ANIMALS"}));
    for (const Item& i : items(m()))
        EXPECT_EQ(i.chapter, "ANIMALS");
    // Renamed in the same window, the chapter still has items and stays.
    select(1);
    list->DelSbClick();
    EXPECT_EQ(messages().last(), m().chapterHasItems.toString());
    EXPECT_EQ(chapters(m()).size(), 2);
}

TEST_P(ChapterEditor, NumberOnlyChangeKeepsItems) {
    select(1);
    ChapterDialog* d = dialog(ChapterDialog::Mode::Modify);
    d->setChapter("2", "数字");
    setText(d, "numed", "7");
    d->ModifyBtnClick();
    EXPECT_EQ(chapters(m()), QStringList({"1 Animals", "7 数字"}));
    EXPECT_EQ(items(m()).size(), 2u);
    EXPECT_EQ(items(m()).back().chapter, "数字");
}

TEST_P(ChapterEditor, FailedRenameOfItemsStoresNeither) {
    run(QStringLiteral("create trigger refuse before update on %1 "
                       "begin select raise(abort, 'refused'); end")
            .arg(m().itemTable));
    select(1);
    ChapterDialog* d = dialog(ChapterDialog::Mode::Modify);
    d->setChapter("2", "数字");
    setText(d, "numed", "5");
    setText(d, "nameed", "新名");
    d->ModifyBtnClick();
    EXPECT_EQ(messages(), QStringList{"储存出错,章号不能相同,请检查"});
    EXPECT_EQ(lastMessage().icon, MessageIcon::Error);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(chapters(m()), QStringList({"1 Animals", "2 数字"}));
    for (const Item& i : items(m()))
        EXPECT_EQ(i.chapter, "数字");
    // The grid shows what is stored, on the chapter being edited.
    EXPECT_EQ(dm->ALLQuery.fieldByName("章节").asString(), "数字");
    EXPECT_EQ(dm->ALLQuery.fieldByName("章号").asString(), "2");
    // Once the items can be written, the same dialog saves the same chapter.
    run("drop trigger refuse");
    d->ModifyBtnClick();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(chapters(m()), QStringList({"1 Animals", "5 新名"}));
    for (const Item& i : items(m()))
        EXPECT_EQ(i.chapter, "新名");
}

TEST_P(ChapterEditor, DeleteRefusedWithItemsAskedWithout) {
    select(1);
    list->DelSbClick();
    EXPECT_EQ(messages(), QStringList{m().chapterHasItems.toString()});
    EXPECT_EQ(lastMessage().icon, MessageIcon::Warning);

    select(0);
    t.dialogs.clear();
    t.dialogs.answerMessage(MessageButton::No);
    list->DelSbClick();
    EXPECT_EQ(messages(), QStringList{"确定要进行删除操作吗?"});
    EXPECT_EQ(lastMessage().buttons, MessageButton::Yes | MessageButton::No);
    EXPECT_EQ(chapters(m()).size(), 2);

    t.dialogs.answerMessage(MessageButton::Yes);
    list->DelSbClick();
    EXPECT_EQ(chapters(m()), QStringList{"2 数字"});
    EXPECT_EQ(dm->ALLQuery.recordCount(), 1);
}

TEST_P(ChapterEditor, WindowAndGrid) {
    EXPECT_EQ(className(list), m().chapterListWindow.toString());
    EXPECT_EQ(list->windowTitle(), m().chapterListCaption.toString());
    auto* grid = child<QTableView>(list, "db1");
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QStringList shown;
    for (int visual = 0; visual < grid->model()->columnCount(); ++visual) {
        const int logical = grid->horizontalHeader()->logicalIndex(visual);
        if (!grid->isColumnHidden(logical))
            shown << grid->model()->headerData(logical, Qt::Horizontal).toString() + u':' +
                         QString::number(grid->columnWidth(logical));
    }
    EXPECT_EQ(shown, QStringList({"章号:60", "章节:100"}));
    for (const char* name : {"AddSb", "ModifySb", "DelSb", "quitsb"})
        EXPECT_NE(child(list, name), nullptr);
}

TEST_P(ChapterEditor, ReturnButtonReloadsTheLearningWindowCloseBoxDoesNot) {
    list->close();
    EXPECT_EQ(returns, 0);
    ChapterListWindow* again = chapterList(m());
    QTest::mouseClick(child(again, "quitsb"), Qt::LeftButton);
    EXPECT_FALSE(again->isVisible());
    EXPECT_EQ(returns, 1);
}

TEST_P(ChapterEditor, EmptyModuleOnlyAdds) {
    list->close();
    run(QStringLiteral("delete from %1").arg(m().itemTable));
    run(QStringLiteral("delete from %1").arg(m().chapterTable));
    list = chapterList(m());
    list->ModifySbClick();
    list->DelSbClick();
    EXPECT_EQ(messages(), QStringList());
    ChapterDialog* d = dialog(ChapterDialog::Mode::Add);
    setText(d, "numed", "1");
    setText(d, "nameed", "第一章");
    d->AddBtnClick();
    EXPECT_EQ(chapters(m()), QStringList{"1 第一章"});
}

INSTANTIATE_TEST_SUITE_P(Modules, ChapterEditor, ::testing::ValuesIn(kModules),
                         [](const auto& info) {
                             return info.param->moduleCode.toString().toStdString();
                         });

} // namespace
} // namespace tx::test
