#include "ItemEditor.h"

#include "EditorGrid.h"
#include "EditorSupport.h"
#include "data/DatabaseError.h"
#include "data/Tdm.h"
#include "lessons/LessonModule.h"
#include "platform/BitmapCodec.h"
#include "platform/CheckPositiveInteger.h"
#include "platform/Dialogs.h"
#include "platform/Gbk.h"
#include "platform/ProgramPaths.h"
#include "platform/Services.h"
#include "platform/SoundService.h"
#include "web/BrowserWindows.h"
#include "web/Sites.h"
#include "widgets/TFlatSpeedButton.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>
#include <thread>

namespace tx {

namespace {

TFlatSpeedButton* flatButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new TFlatSpeedButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setCaption(caption);
    button->setFixedSize(75, 24);
    return button;
}

QString field(QStringView name) {
    return name.toString();
}

const QString kPictureFilter = QStringLiteral("(*.jpg)|*.jpg|(*.bmp)|*.bmp");
const QSize kPictureBox(102, 101);

// Shows the hourglass while a picture is decoded.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Runs work on its own thread while the dialog keeps repainting; input waits until it
// is done, as it does during the program's other waits. Exceptions come back here.
QByteArray offTheGuiThread(const std::function<QByteArray()>& work) {
    QByteArray result;
    std::exception_ptr error;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            result = work();
        } catch (...) {
            error = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (error)
        std::rethrow_exception(error);
    return result;
}

// Stored picture data as PIC1 holds it: a 24-bit BMP file image, or nothing.
QByteArray bitmapOfStored(const QByteArray& stored) {
    const QByteArray bmp = withoutBlockHeader(stored);
    if (bmp.isEmpty() || bmp24Size(bmp).isValid())
        return bmp;
    try {
        return bmpToBmp24(bmp);
    } catch (const PictureError&) {
        return {};
    }
}

} // namespace

// ---- item list window ----------------------------------------------------------------

ItemListWindow::ItemListWindow(Services& services, const LessonModule& module,
                               std::function<void()> onReturn, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      services_(services), module_(module), onReturn_(std::move(onReturn)) {
    setObjectName(module.itemListWindow.toString().mid(1));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(module.itemCaption.toString());
    resize(792, 566); // fills an 800x600 screen

    auto* bar = new QHBoxLayout;
    auto* chooserLabel = new QLabel(QStringLiteral("选择章节"), this);
    CB1 = new QComboBox(this);
    CB1->setObjectName(QStringLiteral("CB1"));
    CB1->setEditable(false);
    CB1->setMinimumWidth(140);
    chooserLabel->setBuddy(CB1);
    AddSb = toolButton(this, "AddSb", QStringLiteral("新增"));
    ModifySb = toolButton(this, "ModifySb", QStringLiteral("修改"));
    DelSb = toolButton(this, "DelSb", QStringLiteral("删除"));
    quitsb = toolButton(this, "quitsb", QStringLiteral("返回→"));
    bar->addWidget(chooserLabel);
    bar->addWidget(CB1);
    for (QToolButton* b : {AddSb, ModifySb, DelSb, quitsb})
        bar->addWidget(b);
    bar->addStretch();

    db1 = new EditorGrid(dataModule(services).goQueryds, module.itemGridColumns, this);
    db1->setObjectName(QStringLiteral("db1"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(db1);

    connect(CB1, &QComboBox::currentIndexChanged, this, &ItemListWindow::CB1Change);
    connect(AddSb, &QToolButton::clicked, this, &ItemListWindow::AddSbClick);
    connect(ModifySb, &QToolButton::clicked, this, &ItemListWindow::ModifySbClick);
    connect(DelSb, &QToolButton::clicked, this, &ItemListWindow::DelSbClick);
    connect(quitsb, &QToolButton::clicked, this, &ItemListWindow::quitsbClick);
    connect(db1, &QTableView::doubleClicked, this, &ItemListWindow::ModifySbClick);
}

void ItemListWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

QString ItemListWindow::chosenChapter() const {
    return CB1->currentIndex() < 0 ? QString() : CB1->currentText();
}

bool ItemListWindow::hasItems() const {
    const Dataset& items = dataModule(services_).goQuery;
    return items.isOpen() && items.recordCount() > 0;
}

void ItemListWindow::FormShow() {
    Dataset& chapters = dataModule(services_).ALLQuery;
    module_.openChapters(chapters);
    QStringList names;
    const QString nameField = field(kChapterNameField);
    for (chapters.first(); !chapters.eof(); chapters.next())
        names << chapters.fieldByName(nameField).asString();
    {
        const QSignalBlocker blocker(CB1);
        CB1->clear();
        CB1->addItems(names);
        CB1->setCurrentIndex(names.isEmpty() ? -1 : 0);
    }
    CB1Change();
}

void ItemListWindow::CB1Change() {
    Dataset& items = dataModule(services_).goQuery;
    const QString chapter = chosenChapter();
    if (chapter.isNull()) {
        // No chapter: no items listed, nothing to count, modify or delete.
        items.close();
        return;
    }
    module_.openItems(items, chapter);
}

void ItemListWindow::AddSbClick() {
    const Dataset& items = dataModule(services_).goQuery;
    if (items.isOpen() && items.recordCount() >= module_.itemLimit) {
        warn(services_, this, module_.itemLimitReached.toString());
        return;
    }
    if (chosenChapter().isNull())
        return;
    newItemDialog(services_, module_, ItemDialog::Mode::Add, chosenChapter(), this)->exec();
}

void ItemListWindow::ModifySbClick() {
    if (chosenChapter().isNull() || !hasItems())
        return;
    Dataset& items = dataModule(services_).goQuery;
    ItemDialog::Item item;
    item.number = items.fieldByName(field(module_.numberField)).asString();
    item.name = items.fieldByName(field(module_.nameField)).asString();
    item.text = items.fieldByName(field(module_.textField)).asString();
    item.sound = items.fieldByName(field(kSoundField)).asString();
    item.courseware = items.fieldByName(field(kCoursewareField)).asString();
    if (items.fieldByName(field(kPictureFlagField)).asString() == kHasPicture)
        item.picture = items.fieldByName(field(kPictureField)).asBytes();
    ItemDialog* dialog =
        newItemDialog(services_, module_, ItemDialog::Mode::Modify, chosenChapter(), this);
    dialog->setItem(item);
    dialog->exec();
}

void ItemListWindow::DelSbClick() {
    if (chosenChapter().isNull() || !hasItems())
        return;
    if (!confirmDelete(services_, this))
        return;
    Dataset& items = dataModule(services_).goQuery;
    items.remove();
    items.reopen();
}

void ItemListWindow::quitsbClick() {
    close();
    if (onReturn_)
        onReturn_();
}

// ---- item dialog ---------------------------------------------------------------------

ItemDialog::ItemDialog(Services& services, const LessonModule& module, Mode mode,
                       const QString& chapter, QWidget* parent)
    : QDialog(parent), services_(services), module_(module), mode_(mode) {
    setObjectName(module.itemDialog.toString().mid(1));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(module.itemCaption.toString());
    buildControls();
    ZJPL->setText(chapter);
}

void ItemDialog::buildControls() {
    const bool literacy = &module_ == &sz;
    auto* grid = new QGridLayout;
    auto addRow = [&](const QString& label, QWidget* box) {
        const int row = grid->rowCount();
        auto* l = new QLabel(label, this);
        l->setBuddy(box);
        grid->addWidget(l, row, 0, Qt::AlignTop);
        grid->addWidget(box, row, 1);
    };

    ZJPL = new QLabel(this);
    ZJPL->setObjectName(QStringLiteral("ZJPL"));
    QFont chapterFont = ZJPL->font();
    chapterFont.setPixelSize(20);
    chapterFont.setBold(true);
    ZJPL->setFont(chapterFont);
    ZJPL->setStyleSheet(QStringLiteral("color: red"));
    grid->addWidget(ZJPL, 0, 1);

    numed = new QLineEdit(this);
    numed->setObjectName(QStringLiteral("numed"));
    addRow(module_.numberLabel.toString(), numed);
    nameed = new QLineEdit(this);
    nameed->setObjectName(QStringLiteral("nameed"));
    addRow(module_.nameLabel.toString(), nameed);
    QWidget* textBox = nullptr;
    if (literacy) {
        PYED = new QLineEdit(this);
        PYED->setObjectName(QStringLiteral("PYED"));
        textBox = PYED;
    } else {
        me1 = new QPlainTextEdit(this);
        me1->setObjectName(QStringLiteral("me1"));
        QFont font = me1->font();
        font.setPixelSize(19);
        me1->setFont(font);
        // Poems scroll; an English translation is short.
        me1->setVerticalScrollBarPolicy(&module_ == &xs ? Qt::ScrollBarAlwaysOn
                                                        : Qt::ScrollBarAlwaysOff);
        me1->setFixedHeight(120);
        me1->setTabChangesFocus(true);
        textBox = me1;
    }
    addRow(module_.textLabel.toString(), textBox);
    connect(numed, &QLineEdit::returnPressed, nameed, [this] { nameed->setFocus(); });
    connect(nameed, &QLineEdit::returnPressed, textBox, [textBox] { textBox->setFocus(); });

    // Sound.
    Sypl = new QLabel(this);
    Sypl->setObjectName(QStringLiteral("Sypl"));
    Sypl->setFrameShape(QFrame::Panel);
    Sypl->setFrameShadow(QFrame::Sunken);
    Sypl->setMinimumWidth(300);
    Sypl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    addRow(QStringLiteral("声音文件路径"), Sypl);
    Selectfb = pushButton(this, "Selectfb", module_.soundButton.toString());
    Testsb = pushButton(this, "Testsb", QStringLiteral("测试"));
    DELLSB = pushButton(this, "DELLSB", QStringLiteral("删除"));
    auto* soundButtons = new QHBoxLayout;
    for (QPushButton* b : {Selectfb, Testsb, DELLSB})
        soundButtons->addWidget(b);
    soundButtons->addStretch();
    grid->addLayout(soundButtons, grid->rowCount(), 1);

    // Courseware.
    KJED = new QLineEdit(this);
    KJED->setObjectName(QStringLiteral("KJED"));
    addRow(QStringLiteral("课件网址输入"), KJED);
    KJTESTSB = pushButton(this, "KJTESTSB", QStringLiteral("测试"));
    KJDELSB = pushButton(this, "KJDELSB", QStringLiteral("删除"));
    LOOKSB = pushButton(this, "LOOKSB", QStringLiteral("在线课件效果"));
    LOOKSB2 = pushButton(this, "LOOKSB2", QStringLiteral("选取已下载课件"));
    auto* coursewareButtons = new QHBoxLayout;
    for (QPushButton* b : {KJTESTSB, KJDELSB, LOOKSB, LOOKSB2})
        coursewareButtons->addWidget(b);
    coursewareButtons->addStretch();
    grid->addLayout(coursewareButtons, grid->rowCount(), 1);
    const QString example = exampleCourseware(programFolder());
    for (const QString& text :
         {QStringLiteral("1.<在线课件教学> 说明:课件网址必须为 .swf ->例如 ") + example,
          QStringLiteral("建议:课件网址可以先COPY,然后在编辑框 粘贴"),
          QStringLiteral("2.<离线课件教学> 说明->可以选择 已保存在你电脑的课件资源文件.swf")}) {
        auto* note = new QLabel(text, this);
        note->setWordWrap(true);
        grid->addWidget(note, grid->rowCount(), 1);
    }

    // Picture.
    auto* frame = new QGroupBox(QStringLiteral("图片框"), this);
    frame->setObjectName(QStringLiteral("GroupBox1"));
    auto* frameLayout = new QVBoxLayout(frame);
    if (literacy) {
        auto* area = new QLabel(QStringLiteral("图片选择"), frame);
        frameLayout->addWidget(area);
    }
    PIC1 = new QLabel(frame);
    PIC1->setObjectName(QStringLiteral("PIC1"));
    PIC1->setFixedSize(kPictureBox);
    PIC1->setScaledContents(true);
    PIC1->setFrameShape(QFrame::Box);
    PIC1->setAccessibleName(QStringLiteral("图片框"));
    frameLayout->addWidget(PIC1, 0, Qt::AlignHCenter);
    simg1 = flatButton(frame, "simg1", QStringLiteral("选择图片"));
    himg1 = flatButton(frame, "himg1", QStringLiteral("恢复图象"));
    cimg2 = flatButton(frame, "cimg2", QStringLiteral("清除图象"));
    for (TFlatSpeedButton* b : {simg1, himg1, cimg2})
        frameLayout->addWidget(b, 0, Qt::AlignHCenter);
    imgdemo = new QLabel(this);
    imgdemo->setObjectName(QStringLiteral("imgdemo"));
    imgdemo->setPixmap(QPixmap::fromImage(storedPictureImage(placeholderBmp())));
    imgdemo->hide();

    AddBtn = pushButton(this, "AddBtn", QStringLiteral("保存"));
    ModifyBtn = pushButton(this, "ModifyBtn", QStringLiteral("保存"));
    DelSb = pushButton(this, "DelSb", QStringLiteral("放弃"));
    AddBtn->setVisible(mode_ == Mode::Add);
    ModifyBtn->setVisible(mode_ == Mode::Modify);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    // Both save buttons share one place; only the mode's one shows.
    buttons->addWidget(mode_ == Mode::Add ? AddBtn : ModifyBtn);
    buttons->addWidget(DelSb);

    auto* top = new QHBoxLayout;
    top->addLayout(grid, 1);
    top->addWidget(frame, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(AddBtn, &QPushButton::clicked, this, &ItemDialog::AddBtnClick);
    connect(ModifyBtn, &QPushButton::clicked, this, &ItemDialog::ModifyBtnClick);
    connect(DelSb, &QPushButton::clicked, this, &QDialog::close);
    connect(Selectfb, &QPushButton::clicked, this, &ItemDialog::SelectfbClick);
    connect(Testsb, &QPushButton::clicked, this, &ItemDialog::TestsbClick);
    connect(DELLSB, &QPushButton::clicked, this, &ItemDialog::DELLSBClick);
    connect(KJTESTSB, &QPushButton::clicked, this, &ItemDialog::KJTESTSBClick);
    connect(KJDELSB, &QPushButton::clicked, this, &ItemDialog::KJDELSBClick);
    connect(LOOKSB, &QPushButton::clicked, this, &ItemDialog::LOOKSBClick);
    connect(LOOKSB2, &QPushButton::clicked, this, &ItemDialog::LOOKSB2Click);
    connect(simg1, &TFlatSpeedButton::clicked, this, &ItemDialog::simg1Click);
    connect(himg1, &TFlatSpeedButton::clicked, this, &ItemDialog::himg1Click);
    connect(cimg2, &TFlatSpeedButton::clicked, this, &ItemDialog::cimg2Click);
}

QString ItemDialog::exampleCourseware(const QString& programFolder) {
    return makerSiteAddress(programFolder, MakerSite::Second, QStringLiteral("/kejian/sample.swf"));
}

QString ItemDialog::programFolder() const {
    return services_.paths ? services_.paths->folder() : QString();
}

void ItemDialog::setItem(const Item& item) {
    numed->setText(item.number);
    nameed->setText(item.name);
    previousName_ = item.name;
    services_.state.nameUnderModification = item.name;
    if (PYED)
        PYED->setText(item.text);
    else
        me1->setPlainText(QString(item.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    Sypl->setText(item.sound);
    KJED->setText(item.courseware);
    showPicture(bitmapOfStored(item.picture), mode_ == Mode::Modify);
}

QString ItemDialog::text() const {
    if (PYED)
        return PYED->text();
    // Lines are stored with CR LF between them.
    return me1->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}

void ItemDialog::done(int result) {
    if (services_.sound)
        services_.sound->stop();
    QDialog::done(result);
}

void ItemDialog::AddBtnClick() {
    save();
}

void ItemDialog::ModifyBtnClick() {
    save();
}

void ItemDialog::save() {
    if (!CheckPositiveInteger(*services_.dialogs, numed))
        return;
    const QString name = nameed->text();
    if (name.isEmpty() || numed->text().isEmpty()) {
        warn(services_, this, module_.numberOrNameEmpty.toString());
        return;
    }
    if (module_.nameByteLimit > 0 && gbkByteLength(name) > module_.nameByteLimit) {
        warn(services_, this, module_.nameTooLong.toString());
        return;
    }
    if (nameRefused())
        return;
    if (module_.textRequired && text().isEmpty()) {
        warn(services_, this, module_.textEmpty.toString());
        (PYED ? static_cast<QWidget*>(PYED) : me1)->setFocus();
        return;
    }
    Dataset& items = dataModule(services_).goQuery;
    try {
        if (mode_ == Mode::Add)
            items.append();
        else
            items.edit();
        writeRow();
        items.post();
    } catch (const DatabaseError&) {
        if (items.state() == Dataset::State::Insert || items.state() == Dataset::State::Edit)
            items.cancel();
        reportSaveFailure(services_, this, module_.saveFailed.toString());
        return;
    }
    items.reopen();
    close();
}

bool ItemDialog::nameRefused() {
    Tdm& dm = dataModule(services_);
    const QString name = nameed->text();
    const QString nameField = field(module_.nameField);
    if (mode_ == Mode::Add) {
        if (!dm.goQuery.locate(nameField, name))
            return false;
        warn(services_, this, module_.nameInUse.toString());
        nameed->setFocus();
        return true;
    }
    module_.openChapterItems(dm.nameQuery, ZJPL->text());
    if (name == previousName_)
        return false;
    for (dm.nameQuery.first(); !dm.nameQuery.eof(); dm.nameQuery.next()) {
        if (dm.nameQuery.fieldByName(nameField).asString() == name) {
            warn(services_, this, module_.nameInUse.toString());
            nameed->setText(previousName_);
            nameed->setFocus();
            return true;
        }
    }
    return false;
}

void ItemDialog::writeRow() {
    Dataset& items = dataModule(services_).goQuery;
    const QString folder = programFolder();
    items.fieldByName(field(module_.numberField)).setAsString(numed->text());
    items.fieldByName(field(module_.nameField)).setAsString(nameed->text());
    items.fieldByName(field(kItemChapterField)).setAsString(ZJPL->text());
    items.fieldByName(field(module_.textField)).setAsString(text());
    items.fieldByName(field(kSoundField)).setAsString(programRelativePath(folder, Sypl->text()));
    items.fieldByName(field(kCoursewareField))
        .setAsString(programRelativePath(folder, KJED->text()));
    Field& flag = items.fieldByName(field(kPictureFlagField));
    Field& picture = items.fieldByName(field(kPictureField));
    if (!picture_.isEmpty()) {
        flag.setAsString(kHasPicture.toString());
        if (!(mode_ == Mode::Modify && pictureIsStored_))
            picture.setBytes(picture_);
    } else {
        flag.setAsString(QString());
        // A removed picture leaves the placeholder behind, never the old bytes.
        if (mode_ == Mode::Modify && !picture.isNull())
            picture.setBytes(placeholderBmp());
    }
}

void ItemDialog::SelectfbClick() {
    const QString path =
        services_.dialogs->openFile(this, QStringLiteral("*.wav|*.wav"), QStringLiteral("*.wav"));
    if (path.isEmpty()) {
        services_.dialogs->messageBox(this, QStringLiteral("没有选取声音文件！"),
                                      QStringLiteral("关于选取声音"), MessageIcon::Warning,
                                      MessageButton::Ok);
        return;
    }
    Sypl->setText(path);
}

void ItemDialog::TestsbClick() {
    if (Sypl->text().isEmpty()) {
        warn(services_, this, QStringLiteral("没有选择声音文件！"));
        return;
    }
    services_.sound->play(Sypl->text());
}

void ItemDialog::DELLSBClick() {
    Sypl->clear();
}

void ItemDialog::KJTESTSBClick() {
    if (KJED->text().isEmpty()) {
        warn(services_, this, QStringLiteral("没有课件网址,请检查哦！"));
        return;
    }
    ShowCourseware(services_, this, nameed->text(), KJED->text());
}

void ItemDialog::KJDELSBClick() {
    KJED->clear();
}

void ItemDialog::LOOKSBClick() {
    ShowCourseware(services_, this, QStringLiteral("幼儿识字"), exampleCourseware(programFolder()));
}

void ItemDialog::LOOKSB2Click() {
    const QString path =
        services_.dialogs->openFile(this, QStringLiteral("*.swf|*.swf"), QStringLiteral("*.swf"));
    if (path.isEmpty()) {
        services_.dialogs->messageBox(this, QStringLiteral("没有选取.swf文件！"),
                                      QStringLiteral("关于选取.swf文件"), MessageIcon::Warning,
                                      MessageButton::Ok);
        return;
    }
    KJED->setText(path);
}

void ItemDialog::simg1Click() {
    const FileChoice choice = services_.dialogs->chooseOpenFile(this, kPictureFilter, QString());
    if (choice.path.isEmpty())
        return;
    QByteArray bmp;
    try {
        const WaitCursor hourglass;
        const bool asBmp = choice.filterIndex == 2;
        bmp = offTheGuiThread([path = choice.path, asBmp] {
            const QByteArray data = readPictureFile(path);
            return asBmp ? bmpToBmp24(data) : jpegToBmp(data);
        });
    } catch (const PictureError&) {
        services_.dialogs->messageBox(this, QStringLiteral("选择图象格式不对"),
                                      QStringLiteral("信息"), MessageIcon::Information,
                                      MessageButton::Ok);
        return;
    }
    showPicture(bmp, false);
}

void ItemDialog::himg1Click() {
    showPicture({}, false);
    Dataset& items = dataModule(services_).goQuery;
    if (!items.isOpen() || items.recordCount() == 0)
        return;
    if (items.fieldByName(field(kPictureFlagField)).asString() != kHasPicture)
        return;
    // In modify mode the current row is the item being edited: its own stored picture.
    showPicture(bitmapOfStored(items.fieldByName(field(kPictureField)).asBytes()),
                mode_ == Mode::Modify);
}

void ItemDialog::cimg2Click() {
    showPicture({}, false);
}

void ItemDialog::showPicture(const QByteArray& bmp, bool stored) {
    picture_ = bmp;
    pictureIsStored_ = stored && !bmp.isEmpty();
    if (bmp.isEmpty())
        PIC1->clear();
    else
        PIC1->setPixmap(QPixmap::fromImage(bmp24Thumbnail(bmp, kPictureBox)));
}

// ---- the module's classes ------------------------------------------------------------

ItemListWindow* newItemListWindow(Services& services, const LessonModule& module,
                                  std::function<void()> onReturn, QWidget* parent) {
    if (&module == &xs)
        return new TxssoundForm(services, module, std::move(onReturn), parent);
    if (&module == &xyy)
        return new TxyysoundForm(services, module, std::move(onReturn), parent);
    return new TSzsoundForm(services, module, std::move(onReturn), parent);
}

ItemDialog* newItemDialog(Services& services, const LessonModule& module, ItemDialog::Mode mode,
                          const QString& chapter, QWidget* parent) {
    if (&module == &xs)
        return new TxssoundaddForm(services, module, mode, chapter, parent);
    if (&module == &xyy)
        return new TxyysoundaddForm(services, module, mode, chapter, parent);
    return new TSzsoundaddForm(services, module, mode, chapter, parent);
}

void OpenItemList(Services& services, const LessonModule& module, QWidget* owner,
                  std::function<void()> onReturn) {
    newItemListWindow(services, module, std::move(onReturn), owner)->exec();
}

} // namespace tx
