#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>
#include <functional>

class QWebEngineDownloadRequest;
class QWebEngineProfile;
class QWidget;

namespace tx {

// Where a download started in the program's browser windows is saved: a download from
// the maker's recipe page goes into the program's folder, where the recipe import looks
// for it; any other into the user's download folder.
QString downloadFolderFor(const QUrl& startingPage, const QString& programFolder);

// Saves the downloads of the profiles it watches as downloadFolderFor says, shows their
// progress and reports how each ended.
class DownloadPlacement : public QObject {
public:
    // report(owner, text, failed) tells the user how a download ended.
    using Report = std::function<void(QWidget* owner, const QString& text, bool failed)>;
    DownloadPlacement(QString programFolder, Report report, QObject* parent = nullptr);
    // Watches a profile; watching it again changes nothing.
    void watch(QWebEngineProfile* profile);
    void place(QWebEngineDownloadRequest* download);

private:
    QString programFolder_;
    Report report_;
    QSet<QWebEngineProfile*> watched_;
};

} // namespace tx
