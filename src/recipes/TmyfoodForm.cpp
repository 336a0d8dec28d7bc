#include "recipes/TmyfoodForm.h"

#include "data/Dataset.h"
#include "data/Tdm.h"
#include "platform/Dialogs.h"
#include "platform/ProgramPaths.h"
#include "platform/RtfWriter.h"
#include "platform/Services.h"
#include "recipes/RecipeText.h"
#include "recipes/RecipeTree.h"
#include "recipes/TDOWNCAIForm.h"
#include "recipes/TmyfoodaddForm.h"
#include "web/BrowserWindows.h"
#include "web/Sites.h"
#include "widgets/TFlatSpeedButton.h"
#include "widgets/TLabel3D.h"

#include <QApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QTextDocument>
#include <QTreeWidget>
#include <stdexcept>

namespace tx {

namespace {

TmyfoodForm* openBrowser = nullptr;

const QColor kBandColor{132, 228, 99};
const QColor kDetailColor{255, 255, 0};
const QString kChooseFirst = QStringLiteral("在导出之前,请先选择菜名可!");
const QString kCaution = QStringLiteral("注意");

void setBackground(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QFont pixelFont(int pixels, bool bold = false, const QString& family = {}) {
    QFont font;
    if (!family.isEmpty())
        font.setFamily(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The document's font: 宋体 at 9 points (12 pixels).
QFont documentFont() {
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(9);
    return font;
}

class CursorGuard {
public:
    CursorGuard() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorGuard() { QApplication::restoreOverrideCursor(); }
    CursorGuard(const CursorGuard&) = delete;
    CursorGuard& operator=(const CursorGuard&) = delete;
};

bool desktopPrintDialog(QPrinter& printer, QWidget* owner) {
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

TmyfoodForm::TmyfoodForm(Services& services, QWidget* parent)
    : QDialog(parent), services_(services), dm_(*services.dm), printerSetup_(desktopPrintDialog) {
    setObjectName(QStringLiteral("TmyfoodForm"));
    setWindowTitle(QStringLiteral("幼儿园食谱专版+幼儿菜谱专版+家庭菜谱"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(808, 608);
    move(-4, -4);

    auto* band = new QWidget(this);
    band->setObjectName(QStringLiteral("TopPL"));
    band->setGeometry(0, 0, 808, 100);
    setBackground(band, kBandColor);
    buildTopBand(band);

    tree2 = new QTreeWidget(this);
    tree2->setObjectName(QStringLiteral("tree2"));
    tree2->setGeometry(0, 100, 250, 508);
    tree2->setHeaderHidden(true);
    tree2->setColumnCount(1);
    tree2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree2->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree2->setSelectionMode(QAbstractItemView::SingleSelection);
    tree2->setFont(pixelFont(14, false, QStringLiteral("宋体")));
    tree2->setIndentation(19);
    tree2->setIconSize(QSize(RecipePictures::Size, RecipePictures::Size));
    tree2->setUniformRowHeights(true);
    tree2->setToolTip(QStringLiteral("请先选择 [菜] 名称 进行操作"));
    tree2->setAccessibleName(QStringLiteral("菜谱分类"));
    // Selection stays visible without the focus: inactive rows keep the highlight.
    QPalette treePalette = tree2->palette();
    treePalette.setColor(QPalette::Inactive, QPalette::Highlight,
                         treePalette.color(QPalette::Active, QPalette::Highlight));
    treePalette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         treePalette.color(QPalette::Active, QPalette::HighlightedText));
    tree2->setPalette(treePalette);
    connect(tree2, &QTreeWidget::itemClicked, this, &TmyfoodForm::tree2Click);
    connect(tree2, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (current != nullptr) {
            current->setExpanded(true);
            tree2Click();
        }
    });

    auto* detail = new QWidget(this);
    detail->setObjectName(QStringLiteral("DetailPL"));
    detail->setGeometry(250, 100, 558, 508);
    setBackground(detail, kDetailColor);
    buildDetail(detail);

    openBrowser = this;
}

TmyfoodForm::~TmyfoodForm() {
    if (openBrowser == this)
        openBrowser = nullptr;
}

void TmyfoodForm::buildTopBand(QWidget* band) {
    auto* views = new QGroupBox(QStringLiteral("[分类] 显示+查找"), band);
    views->setObjectName(QStringLiteral("GroupBox1"));
    views->setGeometry(4, 2, 250, 94);
    for (int i = 0; i < kRecipeViewCount; ++i) {
        const RecipeViewInfo& info = recipeViews()[size_t(i)];
        auto* rb = new QRadioButton(info.caption, views);
        rb->setObjectName(QString::fromLatin1(info.radioName));
        rb->setGeometry(6 + (i / 3) * 122, 20 + (i % 3) * 24, 120, 22);
        rb->setChecked(info.view == RecipeView::Favourite);
        connect(rb, &QRadioButton::clicked, this, &TmyfoodForm::AIHAORBClick);
        viewButtons_[size_t(i)] = rb;
    }

    const auto makeButton = [this](QWidget* parent, const char* name, const QString& caption,
                                   const QString& hint, QStyle::StandardPixmap glyph,
                                   const QRect& geometry) {
        auto* button = new TFlatSpeedButton(parent);
        button->setObjectName(QString::fromLatin1(name));
        button->setCaption(caption);
        button->setToolTip(hint);
        button->setGlyph(style()->standardIcon(glyph).pixmap(16, 16).toImage());
        button->setButtonLayout(TButtonLayout::blGlyphTop);
        button->setGeometry(geometry);
        return button;
    };

    auto* actions = new QGroupBox(QStringLiteral("[菜] 信息管理操作"), band);
    actions->setObjectName(QStringLiteral("GroupBox2"));
    actions->setGeometry(258, 2, 212, 94);
    AddSb = makeButton(actions, "AddSb", QStringLiteral("新增"), {}, QStyle::SP_FileDialogNewFolder,
                       {6, 20, 46, 66});
    ModifySb = makeButton(actions, "ModifySb", QStringLiteral("修改"), {},
                          QStyle::SP_FileDialogDetailedView, {57, 20, 46, 66});
    DelSb = makeButton(actions, "DelSb", QStringLiteral("删除"), {}, QStyle::SP_TrashIcon,
                       {108, 20, 46, 66});
    Printsb = makeButton(actions, "Printsb", QStringLiteral("打印"), {},
                         QStyle::SP_FileDialogContentsView, {159, 20, 46, 66});

    auto* updates = new QGroupBox(QStringLiteral("从官方网站 下载最新 [菜谱] 的资料"), band);
    updates->setObjectName(QStringLiteral("GroupBox3"));
    updates->setGeometry(474, 2, 236, 94);
    DOWNSB = makeButton(updates, "DOWNSB", QStringLiteral("下载[菜谱]"),
                        QStringLiteral("请将下载的最新菜谱文件  qmtfood.edu  放在 [目录 "
                                       "\"童学三步通\"]中"),
                        QStyle::SP_ArrowDown, {6, 20, 108, 66});
    UPCAISB = makeButton(updates, "UPCAISB", QStringLiteral("导入[菜谱]"),
                         QStringLiteral("导入最新的 [菜谱]资料"), QStyle::SP_DialogOpenButton,
                         {120, 20, 108, 66});

    QuitSb = makeButton(band, "QuitSb", QStringLiteral("退出→"), {}, QStyle::SP_DialogCloseButton,
                        {714, 6, 90, 50});
    Label3D2 = new TLabel3D(band);
    Label3D2->setObjectName(QStringLiteral("Label3D2"));
    Label3D2->setCaption(QStringLiteral("->您的广告位置"));
    QFont sponsorFont = pixelFont(12, true);
    sponsorFont.setUnderline(true);
    Label3D2->setFont(sponsorFont);
    QPalette sponsorPalette = Label3D2->palette();
    sponsorPalette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label3D2->setPalette(sponsorPalette);
    Label3D2->setCursor(Qt::PointingHandCursor);
    Label3D2->setGeometry(712, 66, 94, 22);

    connect(AddSb, &TFlatSpeedButton::clicked, this, &TmyfoodForm::AddSbClick);
    connect(ModifySb, &TFlatSpeedButton::clicked, this, &TmyfoodForm::ModifySbClick);
    connect(DelSb, &TFlatSpeedButton::clicked, this, &TmyfoodForm::DelSbClick);
    connect(Printsb, &TFlatSpeedButton::clicked, this, &TmyfoodForm::PrintsbClick);
    connect(DOWNSB, &TFlatSpeedButton::clicked, this, &TmyfoodForm::DOWNSBClick);
    connect(UPCAISB, &TFlatSpeedButton::clicked, this, &TmyfoodForm::UPCAISBClick);
    connect(QuitSb, &TFlatSpeedButton::clicked, this, &TmyfoodForm::QuitSbClick);
    connect(Label3D2, &TLabel3D::clicked, this, &TmyfoodForm::Label3D2Click);
}

void TmyfoodForm::buildDetail(QWidget* detail) {
    auto* nameLabel = new QLabel(QStringLiteral("菜 名"), detail);
    nameLabel->setObjectName(QStringLiteral("Label1"));
    nameLabel->setGeometry(8, 10, 40, 24);
    CAIPL = new QLabel(detail);
    CAIPL->setObjectName(QStringLiteral("CAIPL"));
    CAIPL->setFont(pixelFont(16, true));
    CAIPL->setFrameShape(QFrame::Panel);
    CAIPL->setFrameShadow(QFrame::Sunken);
    CAIPL->setGeometry(52, 6, 300, 30);
    CAIPL->setAccessibleName(QStringLiteral("菜 名"));
    nameLabel->setBuddy(CAIPL);

    OUTSB = new TFlatSpeedButton(detail);
    OUTSB->setObjectName(QStringLiteral("OUTSB"));
    OUTSB->setCaption(QStringLiteral("->导出此菜信息为TXT文件"));
    OUTSB->setGeometry(360, 6, 190, 30);
    connect(OUTSB, &TFlatSpeedButton::clicked, this, &TmyfoodForm::OUTSBClick);

    const auto makeText = [detail](const char* name, const QRect& geometry) {
        auto* box = new QPlainTextEdit(detail);
        box->setObjectName(QString::fromLatin1(name));
        box->setReadOnly(true);
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setGeometry(geometry);
        return box;
    };
    auto* ingredientsLabel = new QLabel(QStringLiteral("材 料"), detail);
    ingredientsLabel->setObjectName(QStringLiteral("Label2"));
    ingredientsLabel->setGeometry(8, 44, 60, 20);
    auto* methodLabel = new QLabel(QStringLiteral("做 法"), detail);
    methodLabel->setObjectName(QStringLiteral("Label3"));
    methodLabel->setGeometry(202, 44, 60, 20);
    RE1 = makeText("RE1", {8, 66, 188, 390});
    RE2 = makeText("RE2", {202, 66, 348, 390});
    RE1->setAccessibleName(ingredientsLabel->text());
    RE2->setAccessibleName(methodLabel->text());

    auto* bottom = new QWidget(detail);
    bottom->setObjectName(QStringLiteral("BottomPL"));
    bottom->setGeometry(0, 462, 558, 46);
    auto* notice = new QLabel(QStringLiteral("今 天 餐 桌 功能->将在下一次的升级中出现,请留意 "
                                             "青禾学堂网 的升级通告！"),
                              bottom);
    notice->setObjectName(QStringLiteral("Label4"));
    notice->setGeometry(8, 12, 540, 22);
    RE9 = new QPlainTextEdit(bottom);
    RE9->setObjectName(QStringLiteral("RE9"));
    RE9->setVisible(false);
}

RecipeView TmyfoodForm::checkedView() const {
    for (size_t i = 0; i < viewButtons_.size(); ++i)
        if (viewButtons_[i]->isChecked())
            return recipeViews()[i].view;
    return RecipeView::Favourite;
}

void TmyfoodForm::BuildRecipeTree() {
    CAIPL->clear();
    RE1->clear();
    RE2->clear();
    CursorGuard busy;
    fillRecipeTree(*tree2, dm_.goQuery, checkedView(), pictures_);
}

void TmyfoodForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        BuildRecipeTree();
}

void TmyfoodForm::AIHAORBClick() {
    BuildRecipeTree();
}

QTreeWidgetItem* TmyfoodForm::selectedRecipeNode() const {
    QTreeWidgetItem* node = tree2->currentItem();
    if (node == nullptr || !node->isSelected() || node->parent() == nullptr)
        return nullptr;
    return node;
}

void TmyfoodForm::findRecipe(const QTreeWidgetItem* node) {
    // Acting on whatever row happens to be current would change or delete another recipe.
    if (!dm_.goQuery.isOpen() || !dm_.goQuery.locate(QStringLiteral("菜名"), node->text(0)))
        throw std::runtime_error(
            QStringLiteral("找不到菜名 \"%1\"，请重新打开菜谱").arg(node->text(0)).toStdString());
}

void TmyfoodForm::tree2Click() {
    QTreeWidgetItem* node = selectedRecipeNode();
    if (node == nullptr)
        return;
    findRecipe(node);
    const Recipe recipe = readRecipe(dm_.goQuery);
    CAIPL->setText(recipe.name);
    RE1->clear();
    RE2->clear();
    if (recipe.ingredientsOn == kYes)
        RE1->setPlainText(memoForDisplay(recipe.ingredients));
    if (recipe.methodOn == kYes)
        RE2->setPlainText(memoForDisplay(recipe.method));
}

void TmyfoodForm::AddSbClick() {
    auto* editor = new TmyfoodaddForm(services_, this);
    editor->setModifyMode(false);
    editor->exec();
}

void TmyfoodForm::ModifySbClick() {
    QTreeWidgetItem* node = selectedRecipeNode();
    if (node == nullptr)
        return;
    auto* editor = new TmyfoodaddForm(services_, this);
    try {
        findRecipe(node);
    } catch (...) {
        delete editor;
        throw;
    }
    const Recipe recipe = readRecipe(dm_.goQuery);
    services_.state.OriginalRecipeName = recipe.name;
    editor->loadRecipe(recipe);
    editor->setModifyMode(true);
    editor->exec();
}

void TmyfoodForm::DelSbClick() {
    QTreeWidgetItem* node = selectedRecipeNode();
    if (node == nullptr)
        return;
    if (services_.dialogs->messageBox(this, QStringLiteral("确定要进行删除操作吗?"), kCaution,
                                      MessageIcon::Question,
                                      MessageButton::Yes | MessageButton::No) == MessageButton::No)
        return;
    findRecipe(node);
    dm_.goQuery.remove();
    dm_.goQuery.close();
    dm_.goQuery.open();
    BuildRecipeTree();
}

bool TmyfoodForm::shownRecipeText(QString& text) {
    if (CAIPL->text().isEmpty()) {
        services_.dialogs->messageBox(this, kChooseFirst, kCaution, MessageIcon::Warning,
                                      MessageButton::Ok);
        return false;
    }
    RE9->clear();
    RE9->setPlainText(recipeDocumentText(CAIPL->text(), RE1->toPlainText(), RE2->toPlainText()));
    text = RE9->toPlainText();
    return true;
}

void TmyfoodForm::OUTSBClick() {
    if (CAIPL->text().isEmpty()) {
        services_.dialogs->messageBox(this, kChooseFirst, kCaution, MessageIcon::Warning,
                                      MessageButton::Ok);
        return;
    }
    const QString path =
        services_.dialogs->saveFile(this, QStringLiteral("*.doc|*.doc"), QStringLiteral("*.doc"),
                                    QStringLiteral("菜资料     ") + CAIPL->text());
    if (path.isEmpty())
        return;
    QString text;
    shownRecipeText(text);
    writeRtfFile(path, text);
    services_.dialogs->messageBox(this, QStringLiteral("导出此菜信息完成!!!"), kCaution,
                                  MessageIcon::Warning, MessageButton::Ok);
}

void TmyfoodForm::PrintsbClick() {
    QString text;
    if (!shownRecipeText(text))
        return;
    QPrinter printer;
    printer.setDocName(CAIPL->text());
    if (!printerSetup_(printer, this))
        return;
    QTextDocument document;
    document.setDefaultFont(documentFont());
    document.setPlainText(text);
    document.print(&printer);
    if (printer.printerState() == QPrinter::Error)
        throw std::runtime_error(
            QStringLiteral("打印 \"%1\" 出错").arg(CAIPL->text()).toStdString());
}

void TmyfoodForm::DOWNSBClick() {
    GeneralBrowserRequest request;
    request.markEntry = QStringLiteral("RB11");
    request.address = makerSiteAddress(QFileInfo(services_.paths->executablePath()).absolutePath(),
                                       MakerSite::First, QStringLiteral("/myfood.htm"));
    OpenGeneralBrowser(services_, this, request);
}

void TmyfoodForm::UPCAISBClick() {
    const QString file = recipeUpdateFile(services_);
    if (file.isEmpty()) {
        services_.dialogs->messageBox(
            this,
            QStringLiteral("在 [目录 \"童学三步通\"]中 没有找到 qmtfood.edu ,你可以先进行 "
                           "下载[菜谱] 操作"),
            kCaution, MessageIcon::Warning, MessageButton::Ok);
        DOWNSBClick();
        return;
    }
    OpenRecipeImport(services_, this, file);
}

void TmyfoodForm::Label3D2Click() {
    OpenAdvertisingWindow(services_, this);
}

void TmyfoodForm::QuitSbClick() {
    close();
}

TmyfoodForm* currentRecipeBrowser() {
    return openBrowser;
}

void OpenRecipeBook(Services& services, QWidget* owner) {
    (new TmyfoodForm(services, owner))->exec();
}

QString recipeUpdateFile(const Services& services) {
    const QString folder = services.paths->folder();
    for (const char* name : {"qmtfood.mdb", "qmtfood.edu"}) {
        const QString path = folder + QString::fromLatin1(name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

} // namespace tx
