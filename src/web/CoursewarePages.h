#pragma once

#include "platform/AddressUrl.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace tx {

// How the browser control shows an address.
enum class AddressKind {
    Empty,    // nothing to show: our own page says so
    LocalSwf, // a .swf on disk: checked, then played by the wrapper page
    WebSwf,   // a .swf on the web: downloaded first, then played from the cache
    Page,     // anything else: loaded as it is
};
AddressKind classifyAddress(const QString& address);

// Whether the address's path ends in ".swf", in any letter case.
bool isSwfAddress(const QString& address);

// The first bytes of a Flash file: "FWS" (plain), "CWS" (zlib) or "ZWS" (LZMA).
bool hasFlashSignature(const QByteArray& head);

enum class FlashFileState { Ok, Missing, Unreadable, NotFlash };
FlashFileState checkFlashFile(const QString& path);

// Text safe inside HTML elements and quoted attributes.
QString htmlEscaped(const QString& text);

// Our page for an address that cannot be shown: the reason and the address, in Chinese.
QString errorPageHtml(const QString& address, const QString& reason);
// Shown while a web courseware file is being downloaded.
QString downloadingPageHtml(const QString& address);

QString reasonText(FlashFileState state);
QString emptyAddressReason();
QString downloadFailedReason(const QString& detail);
QString playerMissingReason();

// The wrapper page that plays courseware with Ruffle (ruffle.js in ruffleDir, a folder
// address ending in '/'), scaled to the window. It loads no movie of its own: each one
// comes through playerLoadScript, so that one page with Ruffle loaded plays them all.
QString playerPageHtml(const QUrl& ruffleDir);

// The script that has a wrapper page play movie (a file: address), the one before gone,
// with networking and scripting of the movie switched off. base is the address the movie
// came from (its own location for a local file).
struct PlayerMovie {
    QUrl ruffleDir;
    QUrl movie;
    QString base;
};
QString playerLoadScript(const PlayerMovie& movie);
// The script that stops a wrapper page's movie: its sound ends and its picture goes.
QString playerStopScript();

// What the courseware page may load: its wrapper page, Ruffle's own files (ruffleDir, a
// folder address ending in '/') and the one movie being played (empty: none), plus data:
// and blob: addresses. Nothing else, neither other local files nor the web: a movie must
// not read a teacher's files, whatever its loaders try.
struct CoursewareAccess {
    QUrl wrapper;
    QUrl ruffleDir;
    QUrl movie;
};
bool coursewareMayLoad(const CoursewareAccess& access, const QUrl& url);

// The script that has a wrapper page load a tiny blank movie of its own and remove it once
// loaded: Ruffle's code compiled and its first instance made before the first real movie.
QString playerWarmScript();
// The blank movie it plays: a 1 x 1 pixel stage and one empty frame.
QByteArray blankMovie();

// Our reason for a movie the player refuses although it looks like a Flash file.
QString playerRefusedReason();

// Window title set by the wrapper page once the movie has loaded, or when it failed; once
// the page has the answer to its request for the movie file, kPlayerReadingTitle; before
// that, or stopped, kPlayerIdleTitle.
inline constexpr char kPlayerReadyTitle[] = "课件-播放中";
inline constexpr char kPlayerReadingTitle[] = "课件-载入中";
inline constexpr char kPlayerFailedTitle[] = "课件-无法播放";
inline constexpr char kPlayerIdleTitle[] = "课件";

} // namespace tx
