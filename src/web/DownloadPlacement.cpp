#include "web/DownloadPlacement.h"

#include <QDir>
#include <QPointer>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace tx {

QString downloadFolderFor(const QUrl& startingPage, const QString& programFolder) {
    if (startingPage.path().endsWith(QStringLiteral("/myfood.htm"), Qt::CaseInsensitive))
        return QDir(programFolder).absolutePath();
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

DownloadPlacement::DownloadPlacement(QString programFolder, Report report, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)), report_(std::move(report)) {}

void DownloadPlacement::watch(QWebEngineProfile* profile) {
    if (profile == nullptr || watched_.contains(profile))
        return;
    watched_.insert(profile);
    connect(profile, &QObject::destroyed, this, [this, profile] { watched_.remove(profile); });
    connect(profile, &QWebEngineProfile::downloadRequested, this, &DownloadPlacement::place);
}

void DownloadPlacement::place(QWebEngineDownloadRequest* download) {
    QWebEnginePage* page = download->page();
    QWidget* owner = page ? QWebEngineView::forPage(page) : nullptr;
    if (owner)
        owner = owner->window();
    download->setDownloadDirectory(downloadFolderFor(page ? page->url() : QUrl(), programFolder_));
    download->accept();

    auto* progress = new QProgressDialog(owner);
    progress->setObjectName(QStringLiteral("DownloadProgress"));
    progress->setWindowTitle(QStringLiteral("下载"));
    progress->setLabelText(QStringLiteral("正在下载 %1 ...").arg(download->downloadFileName()));
    progress->setCancelButtonText(QStringLiteral("取消"));
    progress->setRange(0, 0);
    progress->setMinimumDuration(0);
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->show();
    QPointer<QWebEngineDownloadRequest> watched(download);
    connect(progress, &QProgressDialog::canceled, download, [watched] {
        if (watched)
            watched->cancel();
    });
    connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, progress,
            [progress, watched] {
                if (!watched)
                    return;
                const qint64 total = watched->totalBytes();
                // Percent, so that files over 2 GB fit the dialog's int range.
                if (total > 0) {
                    progress->setRange(0, 100);
                    progress->setValue(int(watched->receivedBytes() * 100 / total));
                }
            });
    QPointer<QWidget> reportOwner(owner);
    connect(
        download, &QWebEngineDownloadRequest::isFinishedChanged, this,
        [this, download, progress = QPointer<QProgressDialog>(progress), reportOwner] {
            if (!download->isFinished())
                return;
            if (progress)
                progress->close();
            const QString file =
                QDir(download->downloadDirectory()).filePath(download->downloadFileName());
            if (download->state() == QWebEngineDownloadRequest::DownloadCompleted)
                report_(reportOwner, QStringLiteral("下载完成: %1").arg(file), false);
            else if (download->state() == QWebEngineDownloadRequest::DownloadCancelled)
                report_(reportOwner, QStringLiteral("下载已取消: %1").arg(file), true);
            else
                report_(
                    reportOwner,
                    QStringLiteral("下载失败: %1\n%2").arg(file, download->interruptReasonString()),
                    true);
        });
}

} // namespace tx
