#include "recipes/TDOWNCAIForm.h"

#include "data/DataSource.h"
#include "data/DatabaseError.h"
#include "data/Tdm.h"
#include "data/Transaction.h"
#include "platform/Dialogs.h"
#include "platform/ProgramPaths.h"
#include "platform/RegistryStore.h"
#include "platform/Services.h"
#include "recipes/Recipe.h"
#include "recipes/RecipeImport.h"
#include "recipes/TmyfoodForm.h"
#include "widgets/TFlatSpeedButton.h"
#include "widgets/TLabel3D.h"

#include <QApplication>
#include <QFileInfo>
#include <QShowEvent>
#include <stdexcept>

namespace tx {

namespace {

TDOWNCAIForm* openImport = nullptr;

const QString kDataSource = QStringLiteral("FOODqlyx");
const QString kDate = QStringLiteral("日期");
const QString kNoDate = QStringLiteral("日期");

// Columns the import reads from the update's recipes.
const char* const kImportedColumns[] = {"菜名",     "最爱",     "时间段",   "菜系分类",
                                        "口味分类", "材料分类", "家庭分类", "材料",
                                        "材料1",    "做法",     "做法1",    "simg"};

class CursorGuard {
public:
    CursorGuard() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorGuard() { QApplication::restoreOverrideCursor(); }
    CursorGuard(const CursorGuard&) = delete;
    CursorGuard& operator=(const CursorGuard&) = delete;
};

TLabel3D* makeLabel(QWidget* parent, const char* name, const QString& caption, const QRect& where,
                    bool bold, const QColor& color = QColor(0, 0, 0)) {
    auto* label = new TLabel3D(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setCaption(caption);
    QFont font(QStringLiteral("新宋体"));
    font.setPixelSize(13);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->setGeometry(where);
    return label;
}

} // namespace

TDOWNCAIForm::TDOWNCAIForm(Services& services, const QString& updateFile, QWidget* parent)
    : QDialog(parent), services_(services), dm_(*services.dm), updateFile_(updateFile),
      SYSTable(ADOConnection1, QStringLiteral("SYS"), this),
      nameQuery(ADOConnection1, QStringLiteral("select * from myfood"), this) {
    setObjectName(QStringLiteral("TDOWNCAIForm"));
    setWindowTitle(QStringLiteral("导入最新的 [菜谱]资料"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("新宋体")));
    setFixedSize(479, 266);
    move(171, 164);
    SYSTable.setObjectName(QStringLiteral("SYSTable"));
    nameQuery.setObjectName(QStringLiteral("nameQuery"));

    makeLabel(this, "Label3D1", QStringLiteral("你现在的 [菜谱]资料日期版本为->"),
              {20, 40, 250, 24}, false);
    LB3 = makeLabel(this, "LB3", kNoDate, {280, 40, 180, 24}, false);
    makeLabel(this, "Label3D2", QStringLiteral("你下载的 [菜谱]资料日期版本为->"),
              {20, 90, 250, 24}, true);
    LB2 = makeLabel(this, "LB2", kNoDate, {280, 90, 180, 24}, true, QColor(0, 0, 255));

    UPCAISB = new TFlatSpeedButton(this);
    UPCAISB->setObjectName(QStringLiteral("UPCAISB"));
    UPCAISB->setCaption(QStringLiteral("导入最新[菜谱]"));
    UPCAISB->setToolTip(QStringLiteral("导入最新的 [菜谱]资料"));
    UPCAISB->setGeometry(60, 170, 150, 44);
    QuitSb = new TFlatSpeedButton(this);
    QuitSb->setObjectName(QStringLiteral("QuitSb"));
    QuitSb->setCaption(QStringLiteral("退出→"));
    QuitSb->setGeometry(270, 170, 150, 44);
    connect(UPCAISB, &TFlatSpeedButton::clicked, this, &TDOWNCAIForm::UPCAISBClick);
    connect(QuitSb, &TFlatSpeedButton::clicked, this, &TDOWNCAIForm::QuitSbClick);

    openImport = this;
}

TDOWNCAIForm::~TDOWNCAIForm() {
    ADOConnection1.close();
    if (openImport == this)
        openImport = nullptr;
}

void TDOWNCAIForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // After the window is up, so that a refusal can close it while its loop runs.
    if (!shown_ && !event->spontaneous()) {
        shown_ = true;
        QMetaObject::invokeMethod(this, &TDOWNCAIForm::FormShow, Qt::QueuedConnection);
    }
}

void TDOWNCAIForm::refuseUpdateFile(const QString& reason) {
    ADOConnection1.close();
    services_.dialogs->messageBox(
        this,
        QStringLiteral("无法读取下载的 [菜谱]资料文件 %1 :\n%2\n请重新进行 下载[菜谱] 操作")
            .arg(QFileInfo(updateFile_).fileName(), reason),
        QStringLiteral("注意"), MessageIcon::Warning, MessageButton::Ok);
    close();
}

bool TDOWNCAIForm::FormShow() {
    if (!RegisterDataSource(*services_.registry, *services_.paths, kDataSource,
                            QFileInfo(updateFile_).fileName()))
        return true; // no connection: both dates keep reading "日期"
    try {
        const auto dbq = services_.registry->read(
            QStringLiteral("Software\\ODBC\\ODBC.INI\\") + kDataSource, QStringLiteral("DBQ"));
        if (!dbq || dbq->type != RegistryType::String)
            throw DatabaseError(QStringLiteral("data source %1 names no file").arg(kDataSource));
        ADOConnection1.setConnectionString(DataSourceConnectionString(kDataSource));
        ADOConnection1.openReadOnly(dbq->text);
        SYSTable.open();
        nameQuery.open();
        for (const char* column : kImportedColumns)
            if (nameQuery.findField(QString::fromUtf8(column)) == nullptr)
                throw DatabaseError(
                    QStringLiteral("table myfood has no column %1").arg(QString::fromUtf8(column)));
        SYSTable.first();
        if (SYSTable.eof())
            throw DatabaseError(QStringLiteral("table SYS holds no date"));
        LB2->setCaption(SYSTable.fieldByName(kDate).asString());
    } catch (const DatabaseError& e) {
        refuseUpdateFile(e.message());
        return false;
    }
    dm_.SYSTable.first();
    LB3->setCaption(dm_.SYSTable.fieldByName(kDate).asString());
    return true;
}

void TDOWNCAIForm::UPCAISBClick() {
    if (!ADOConnection1.isOpen())
        throw std::runtime_error("没有打开下载的 [菜谱]资料文件，无法导入");
    {
        CursorGuard busy;
        Dataset& go = dm_.goQuery;
        {
            // The new date and the new recipes are stored together or not at all; a
            // rollback reads every open dataset again, so none shows what was undone.
            Transaction transaction(dm_.ADOConnection1);
            dm_.SYSTable.first();
            dm_.SYSTable.edit();
            dm_.SYSTable.fieldByName(kDate).setAsString(SYSTable.fieldByName(kDate).asString());
            dm_.SYSTable.post();
            go.setSql(kTreeSql);
            go.open();
            nameQuery.close();
            nameQuery.setSql(QStringLiteral("select * from myfood "));
            nameQuery.open();
            nameQuery.first();
            importNewRecipes(go, nameQuery);
            transaction.commit();
        }
        go.close();
        go.open();
        services_.dialogs->messageBox(
            this, QStringLiteral("操作成功,你下载的 [菜谱]资料 导入成功!"), QStringLiteral("信息"),
            MessageIcon::Information, MessageButton::Ok);
    }
    close();
    if (TmyfoodForm* browser = currentRecipeBrowser())
        browser->BuildRecipeTree();
}

void TDOWNCAIForm::QuitSbClick() {
    close();
}

TDOWNCAIForm* currentRecipeImport() {
    return openImport;
}

void OpenRecipeImport(Services& services, QWidget* owner, const QString& updateFile) {
    (new TDOWNCAIForm(services, updateFile, owner))->exec();
}

} // namespace tx
