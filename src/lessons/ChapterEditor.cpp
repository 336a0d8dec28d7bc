#include "ChapterEditor.h"

#include "EditorGrid.h"
#include "EditorSupport.h"
#include "data/DatabaseError.h"
#include "data/Tdm.h"
#include "data/Transaction.h"
#include "lessons/LessonModule.h"
#include "platform/CheckPositiveInteger.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace tx {

namespace {

QString chapterName() {
    return kChapterNameField.toString();
}

} // namespace

// ---- chapter list window -------------------------------------------------------------

ChapterListWindow::ChapterListWindow(Services& services, const LessonModule& module,
                                     std::function<void()> onReturn, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      services_(services), module_(module), onReturn_(std::move(onReturn)) {
    setObjectName(module.chapterListWindow.toString().mid(1));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(module.chapterListCaption.toString());
    resize(792, 566); // fills an 800x600 screen

    auto* bar = new QHBoxLayout;
    AddSb = toolButton(this, "AddSb", QStringLiteral("新增"));
    ModifySb = toolButton(this, "ModifySb", QStringLiteral("修改"));
    DelSb = toolButton(this, "DelSb", QStringLiteral("删除"));
    quitsb = toolButton(this, "quitsb", QStringLiteral("返回→"));
    for (QToolButton* b : {AddSb, ModifySb, DelSb, quitsb})
        bar->addWidget(b);
    bar->addStretch();

    db1 = new EditorGrid(dataModule(services).ALLQueryds, kChapterGridColumns, this);
    db1->setObjectName(QStringLiteral("db1"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(db1);

    connect(AddSb, &QToolButton::clicked, this, &ChapterListWindow::AddSbClick);
    connect(ModifySb, &QToolButton::clicked, this, &ChapterListWindow::ModifySbClick);
    connect(DelSb, &QToolButton::clicked, this, &ChapterListWindow::DelSbClick);
    connect(quitsb, &QToolButton::clicked, this, &ChapterListWindow::quitsbClick);
    connect(db1, &QTableView::doubleClicked, this, &ChapterListWindow::ModifySbClick);
}

void ChapterListWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void ChapterListWindow::FormShow() {
    Tdm& dm = dataModule(services_);
    module_.openChapters(dm.ALLQuery);
    module_.openAllItems(dm.goQuery);
}

void ChapterListWindow::AddSbClick() {
    newChapterDialog(services_, module_, ChapterDialog::Mode::Add, this)->exec();
}

void ChapterListWindow::ModifySbClick() {
    Dataset& chapters = dataModule(services_).ALLQuery;
    if (!chapters.isOpen() || chapters.recordCount() == 0)
        return;
    ChapterDialog* dialog = newChapterDialog(services_, module_, ChapterDialog::Mode::Modify, this);
    dialog->setChapter(chapters.fieldByName(kChapterNumberField.toString()).asString(),
                       chapters.fieldByName(chapterName()).asString());
    dialog->exec();
}

void ChapterListWindow::DelSbClick() {
    Tdm& dm = dataModule(services_);
    Dataset& chapters = dm.ALLQuery;
    if (!chapters.isOpen() || chapters.recordCount() == 0)
        return;
    const QString name = chapters.fieldByName(chapterName()).asString();
    // The items as they stand now: a rename in this window has changed them since it opened.
    module_.openAllItems(dm.goQuery);
    if (dm.goQuery.locate(kItemChapterField.toString(), name)) {
        warn(services_, this, module_.chapterHasItems.toString());
        return;
    }
    if (!confirmDelete(services_, this))
        return;
    chapters.remove();
    chapters.reopen();
}

void ChapterListWindow::quitsbClick() {
    close();
    if (onReturn_)
        onReturn_();
}

// ---- chapter dialog ------------------------------------------------------------------

ChapterDialog::ChapterDialog(Services& services, const LessonModule& module, Mode mode,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      services_(services), module_(module), mode_(mode) {
    setObjectName(module.chapterDialog.toString().mid(1));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kChapterDialogCaption.toString());

    auto* numberLabel = new QLabel(QStringLiteral("章号"), this);
    numed = new QLineEdit(this);
    numed->setObjectName(QStringLiteral("numed"));
    numberLabel->setBuddy(numed);
    auto* nameLabel = new QLabel(QStringLiteral("章节"), this);
    nameed = new QLineEdit(this);
    nameed->setObjectName(QStringLiteral("nameed"));
    nameLabel->setBuddy(nameed);

    AddBtn = pushButton(this, "AddBtn", QStringLiteral("保存"));
    ModifyBtn = pushButton(this, "ModifyBtn", QStringLiteral("保存"));
    DelSb = pushButton(this, "DelSb", QStringLiteral("放弃"));
    AddBtn->setVisible(mode == Mode::Add);
    ModifyBtn->setVisible(mode == Mode::Modify);

    auto* layout = new QVBoxLayout(this);
    for (auto [label, box] : {std::pair{numberLabel, numed}, std::pair{nameLabel, nameed}}) {
        auto* row = new QHBoxLayout;
        row->addWidget(label);
        row->addWidget(box);
        layout->addLayout(row);
    }
    auto* buttons = new QHBoxLayout;
    // Both save buttons share one place; only the mode's one shows.
    buttons->addWidget(mode == Mode::Add ? AddBtn : ModifyBtn);
    buttons->addWidget(DelSb);
    layout->addLayout(buttons);

    connect(numed, &QLineEdit::returnPressed, nameed, [this] { nameed->setFocus(); });
    connect(AddBtn, &QPushButton::clicked, this, &ChapterDialog::AddBtnClick);
    connect(ModifyBtn, &QPushButton::clicked, this, &ChapterDialog::ModifyBtnClick);
    connect(DelSb, &QPushButton::clicked, this, &QDialog::close);
}

void ChapterDialog::setChapter(const QString& number, const QString& name) {
    numed->setText(number);
    nameed->setText(name);
    previousName_ = name;
    services_.state.nameUnderModification = name;
}

bool ChapterDialog::checkInput() {
    if (!CheckPositiveInteger(*services_.dialogs, numed))
        return false;
    if (nameed->text().isEmpty() || numed->text().isEmpty()) {
        warn(services_, this, QStringLiteral("章号和章节都不能为空！"));
        return false;
    }
    return true;
}

void ChapterDialog::AddBtnClick() {
    if (!checkInput())
        return;
    Dataset& chapters = dataModule(services_).ALLQuery;
    if (chapters.locate(chapterName(), nameed->text())) {
        warn(services_, this, QStringLiteral("章节名不能相同！"));
        nameed->setFocus();
        return;
    }
    try {
        chapters.append();
        chapters.fieldByName(kChapterNumberField.toString()).setAsString(numed->text());
        chapters.fieldByName(chapterName()).setAsString(nameed->text());
        chapters.post();
    } catch (const DatabaseError&) {
        chapters.cancel();
        reportSaveFailure(services_, this, kChapterSaveFailed.toString());
        return;
    }
    chapters.reopen();
    close();
}

void ChapterDialog::ModifyBtnClick() {
    if (!checkInput())
        return;
    Tdm& dm = dataModule(services_);
    const QString name = nameed->text();
    if (name != previousName_) {
        module_.openAllChapters(dm.nameQuery);
        for (dm.nameQuery.first(); !dm.nameQuery.eof(); dm.nameQuery.next()) {
            if (dm.nameQuery.fieldByName(chapterName()).asString() == name) {
                warn(services_, this, QStringLiteral("章节不能相同！"));
                nameed->setText(previousName_);
                nameed->setFocus();
                return;
            }
        }
    }
    Dataset& chapters = dm.ALLQuery;
    Dataset& items = dm.goQuery;
    try {
        // The chapter and the items naming it change together or not at all.
        Transaction transaction(dm.ADOConnection1);
        chapters.edit();
        chapters.fieldByName(kChapterNumberField.toString()).setAsString(numed->text());
        chapters.fieldByName(chapterName()).setAsString(name);
        chapters.post();
        module_.openRenamedChapterItems(items, previousName_);
        for (items.first(); !items.eof(); items.next()) {
            items.edit();
            items.fieldByName(kItemChapterField.toString()).setAsString(name);
            items.post();
        }
        transaction.commit();
    } catch (const DatabaseError&) {
        for (Dataset* ds : {&chapters, &items})
            if (ds->state() == Dataset::State::Edit)
                ds->cancel();
        reportSaveFailure(services_, this, kChapterSaveFailed.toString());
        chapters.reopen();
        selectEditedChapter();
        module_.openAllItems(items);
        return;
    }
    chapters.reopen();
    module_.openAllItems(items);
    close();
}

void ChapterDialog::selectEditedChapter() {
    Dataset& chapters = dataModule(services_).ALLQuery;
    const int column = chapters.fieldByName(chapterName()).index();
    for (int row = 0; row < chapters.recordCount(); ++row) {
        if (Field::toText(chapters.valueAt(row, column)) == previousName_) {
            chapters.moveTo(row);
            return;
        }
    }
}

// ---- the module's classes ------------------------------------------------------------

ChapterListWindow* newChapterListWindow(Services& services, const LessonModule& module,
                                        std::function<void()> onReturn, QWidget* parent) {
    if (&module == &xs)
        return new TXSZJForm(services, module, std::move(onReturn), parent);
    if (&module == &xyy)
        return new TXyyZJForm(services, module, std::move(onReturn), parent);
    return new TZJFORM(services, module, std::move(onReturn), parent);
}

ChapterDialog* newChapterDialog(Services& services, const LessonModule& module,
                                ChapterDialog::Mode mode, QWidget* parent) {
    if (&module == &xs)
        return new TXSZJaddForm(services, module, mode, parent);
    if (&module == &xyy)
        return new TXyyZJaddForm(services, module, mode, parent);
    return new TZJaddForm(services, module, mode, parent);
}

void OpenChapterList(Services& services, const LessonModule& module, QWidget* owner,
                     std::function<void()> onReturn) {
    newChapterListWindow(services, module, std::move(onReturn), owner)->exec();
}

} // namespace tx
