#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace tx {

// An address as the program hands it over: a web or file: address, or a plain local path.
QUrl addressToUrl(const QString& address);

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

// The wrapper page that plays movie with Ruffle (ruffle.js in ruffleDir), scaled to the
// window, with networking and scripting of the movie switched off. base is the address
// the movie came from (its own location for a local file).
struct PlayerPage {
    QUrl ruffleDir; // folder of ruffle.js, ending in '/'
    QUrl movie;     // a file: address
    QString base;
};
QString playerPageHtml(const PlayerPage& page);

// Window title set by the wrapper page once the movie has loaded, or when it failed.
inline constexpr char kPlayerReadyTitle[] = "课件-播放中";
inline constexpr char kPlayerFailedTitle[] = "课件-无法播放";

} // namespace tx
