#include "CoursewareBand.h"

#include "platform/Dialogs.h"
#include "platform/ProgramPaths.h"
#include "platform/Services.h"
#include "web/BrowserWindows.h"
#include "web/Sites.h"

#include <QLabel>
#include <QPointer>
#include <QToolButton>

namespace tx {

QString sampleCoursewareAddress(const QString& programDir) {
    return makerSiteAddress(programDir, MakerSite::Second, QStringLiteral("/kejian/sample.swf"));
}

namespace {

constexpr int kRowHeight = 20;
constexpr int kLabelWidth = 640;

QLabel* bandLabel(QWidget* band, const char* name, const QString& text, int row) {
    auto* l = new QLabel(text, band);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(6, row * kRowHeight, kLabelWidth, kRowHeight);
    l->setToolTip(text);
    QFont f = l->font();
    f.setPixelSize(12);
    l->setFont(f);
    return l;
}

QToolButton* bandButton(QWidget* band, const char* name, const QString& text, int row) {
    auto* b = new QToolButton(band);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setGeometry(kLabelWidth + 14, row * kRowHeight + 1, 800 - kLabelWidth - 20, kRowHeight - 2);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

} // namespace

void buildCoursewareBand(QWidget* band, Services& services, QWidget* owner) {
    const QString programDir = services.paths->programDir();
    const QString sample = sampleCoursewareAddress(programDir);
    Services* s = &services;
    QPointer<QWidget> ownerRef(owner);

    bandLabel(band, "OnlineCoursewareLB",
              QStringLiteral("1.<在线课件教学> 说明:课件网址必须为 .swf ->例如 ") + sample, 0);
    QObject::connect(bandButton(band, "LOOKSB", QStringLiteral("在线课件效果"), 0),
                     &QToolButton::clicked, band, [s, ownerRef, sample] {
                         ShowCourseware(*s, ownerRef, QStringLiteral("幼儿识字"), sample);
                     });

    bandLabel(band, "OfflineCoursewareLB",
              QStringLiteral("2.<离线课件教学> 说明->可以选择 "
                             "已保存在你电脑的课件资源文件.swf,离线教学适合幼儿园使用"),
              1);
    QObject::connect(bandButton(band, "LOOKSB2", QStringLiteral("离线课件效果"), 1),
                     &QToolButton::clicked, band, [s, ownerRef] {
                         // OP2
                         const QString path = s->dialogs->openFile(
                             ownerRef, QStringLiteral("*.swf|*.swf"), QStringLiteral("*.swf"));
                         if (path.isEmpty()) {
                             s->dialogs->messageBox(ownerRef, QStringLiteral("没有选取.swf文件！"),
                                                    QStringLiteral("关于选取.swf文件"),
                                                    MessageIcon::Warning, MessageButton::Ok);
                             return;
                         }
                         ShowCourseware(*s, ownerRef, QStringLiteral("你选择的课件"), path);
                     });

    bandLabel(
        band, "CoursewareHintLB",
        QStringLiteral("->请在幼儿识字,学诗,学英语 中,进入 编辑字,编辑诗,编辑英语,按修改按钮添加 "
                       "<课件网址> 即可"),
        2);
    const QString collection =
        makerSiteAddress(programDir, MakerSite::Second, QStringLiteral("/kejianfalshgx.htm"));
    QObject::connect(bandButton(band, "WEBSB", QStringLiteral("课件网址收集"), 2),
                     &QToolButton::clicked, band, [s, ownerRef, collection] {
                         GeneralBrowserRequest request;
                         request.address = collection;
                         OpenGeneralBrowser(*s, ownerRef, request);
                     });
}

} // namespace tx
