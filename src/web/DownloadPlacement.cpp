#include "web/DownloadPlacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <filesystem>
#include <system_error>

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
    const QString folder = downloadFolderFor(page ? page->url() : QUrl(), programFolder_);
    download->setDownloadDirectory(folder);
    // Into the program folder under a working name: a newer update replaces the file the
    // import reads only once it is complete, and a failed one leaves the old file alone.
    QString finalPath;
    if (folder == QDir(programFolder_).absolutePath()) {
        const QString name = QFileInfo(download->suggestedFileName()).fileName();
        finalPath = QDir(folder).filePath(name);
        QFile::remove(finalPath + QStringLiteral(".part"));
        download->setDownloadFileName(name + QStringLiteral(".part"));
    }
    download->accept();

    auto* progress = new QProgressDialog(owner);
    progress->setObjectName(QStringLiteral("DownloadProgress"));
    progress->setWindowTitle(QStringLiteral("下载"));
    progress->setLabelText(QStringLiteral("正在下载 %1 ...")
                               .arg(finalPath.isEmpty() ? download->downloadFileName()
                                                        : QFileInfo(finalPath).fileName()));
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
        [this, download, finalPath, progress = QPointer<QProgressDialog>(progress), reportOwner] {
            if (!download->isFinished())
                return;
            if (progress)
                progress->close();
            const QString saved =
                QDir(download->downloadDirectory()).filePath(download->downloadFileName());
            const QString file = finalPath.isEmpty() ? saved : finalPath;
            const auto state = download->state();
            if (state == QWebEngineDownloadRequest::DownloadCompleted) {
                std::error_code error;
                if (!finalPath.isEmpty())
                    std::filesystem::rename(QFile::encodeName(saved).toStdString(),
                                            QFile::encodeName(finalPath).toStdString(), error);
                if (error)
                    report_(reportOwner,
                            QStringLiteral("下载失败: %1\n%2")
                                .arg(file, QString::fromStdString(error.message())),
                            true);
                else
                    report_(reportOwner, QStringLiteral("下载完成: %1").arg(file), false);
                return;
            }
            if (!finalPath.isEmpty())
                QFile::remove(saved);
            if (state == QWebEngineDownloadRequest::DownloadCancelled)
                report_(reportOwner, QStringLiteral("下载已取消: %1").arg(file), true);
            else
                report_(
                    reportOwner,
                    QStringLiteral("下载失败: %1\n%2").arg(file, download->interruptReasonString()),
                    true);
        });
}

} // namespace tx
