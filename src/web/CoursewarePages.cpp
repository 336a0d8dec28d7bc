#include "CoursewarePages.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tx {

bool isSwfAddress(const QString& address) {
    if (address.trimmed().isEmpty())
        return false;
    return addressToUrl(address).path().endsWith(QStringLiteral(".swf"), Qt::CaseInsensitive);
}

AddressKind classifyAddress(const QString& address) {
    if (address.trimmed().isEmpty())
        return AddressKind::Empty;
    if (!isSwfAddress(address))
        return AddressKind::Page;
    const QString scheme = addressToUrl(address).scheme().toLower();
    if (scheme == QStringLiteral("file"))
        return AddressKind::LocalSwf;
    if (scheme == QStringLiteral("http") || scheme == QStringLiteral("https"))
        return AddressKind::WebSwf;
    return AddressKind::Page;
}

bool hasFlashSignature(const QByteArray& head) {
    if (head.size() < 3 || head[1] != 'W' || head[2] != 'S')
        return false;
    return head[0] == 'F' || head[0] == 'C' || head[0] == 'Z';
}

FlashFileState checkFlashFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return FlashFileState::Missing;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return FlashFileState::Unreadable;
    return hasFlashSignature(file.read(3)) ? FlashFileState::Ok : FlashFileState::NotFlash;
}

QString htmlEscaped(const QString& text) {
    QString out = text.toHtmlEscaped();
    out.replace(u'\'', QStringLiteral("&#39;"));
    return out;
}

QString reasonText(FlashFileState state) {
    switch (state) {
    case FlashFileState::Ok:
        return {};
    case FlashFileState::Missing:
        return QStringLiteral("找不到这个课件文件，请检查课件网址是否正确。");
    case FlashFileState::Unreadable:
        return QStringLiteral("无法读取这个课件文件。");
    case FlashFileState::NotFlash:
        return QStringLiteral("这个文件不是 Flash 课件（.swf 文件）。");
    }
    return {};
}

QString emptyAddressReason() {
    return QStringLiteral("没有课件网址。");
}

QString downloadFailedReason(const QString& detail) {
    QString text = QStringLiteral("无法下载这个课件，请检查网络连接和课件网址。");
    if (!detail.isEmpty())
        text += QStringLiteral("（") + detail + QStringLiteral("）");
    return text;
}

QString playerRefusedReason() {
    return QStringLiteral("这个课件文件已损坏，或者使用了播放组件不支持的内容，无法播放。");
}

QString playerMissingReason() {
    return QStringLiteral("没有找到 Flash 课件播放组件（Ruffle），请重新安装本软件。");
}

namespace {

QString ownPage(const QString& title, const QString& body) {
    // Our pages carry no script and load nothing.
    return QStringLiteral(
               "<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
               "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
               "style-src 'unsafe-inline'\"><title>%1</title><style>"
               "body{font-family:sans-serif;background:#fffbe6;color:#333;margin:40px}"
               "h1{color:#c0392b;font-size:24px}p{font-size:16px}"
               "code{background:#fff;border:1px solid #ddd;padding:2px 4px;word-break:break-all}"
               "</style></head><body>%2</body></html>")
        .arg(htmlEscaped(title), body);
}

} // namespace

QString errorPageHtml(const QString& address, const QString& reason) {
    const QString shown = address.isEmpty() ? QStringLiteral("（空）") : address;
    return ownPage(QStringLiteral("无法显示课件"),
                   QStringLiteral("<h1>无法显示课件</h1><p>%1</p><p>网址：<code>%2</code></p>")
                       .arg(htmlEscaped(reason), htmlEscaped(shown)));
}

QString downloadingPageHtml(const QString& address) {
    return ownPage(QStringLiteral("正在下载课件"),
                   QStringLiteral("<h1 style=\"color:#2e7d32\">正在下载课件，请稍候……</h1>"
                                  "<p>网址：<code>%1</code></p>")
                       .arg(htmlEscaped(address)));
}

namespace {

// A JavaScript string literal.
QString jsonString(const QString& text) {
    QString out = QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
    out = out.mid(1, out.size() - 2);
    out.replace(u'<', QStringLiteral("\\u003c"));
    return out;
}

// The movie's bytes as a JavaScript array's elements.
QString blankMovieBytes() {
    QStringList list;
    for (char b : blankMovie())
        list << QString::number(static_cast<unsigned char>(b));
    return list.join(u',');
}

} // namespace

QString playerLoadScript(const PlayerMovie& m) {
    QJsonObject load{
        {QStringLiteral("url"), m.movie.toString(QUrl::FullyEncoded)},
        {QStringLiteral("base"), m.base},
        {QStringLiteral("allowNetworking"), QStringLiteral("none")},
        {QStringLiteral("allowScriptAccess"), false},
        {QStringLiteral("openUrlMode"), QStringLiteral("deny")},
        {QStringLiteral("upgradeToHttps"), false},
        {QStringLiteral("autoplay"), QStringLiteral("on")},
        {QStringLiteral("unmuteOverlay"), QStringLiteral("hidden")},
        {QStringLiteral("letterbox"), QStringLiteral("on")},
        {QStringLiteral("scale"), QStringLiteral("showAll")},
        {QStringLiteral("splashScreen"), false},
        {QStringLiteral("warnOnUnsupportedContent"), false},
        {QStringLiteral("showSwfDownload"), false},
        {QStringLiteral("menu"), false},
        {QStringLiteral("publicPath"), m.ruffleDir.toString(QUrl::FullyEncoded)},
        {QStringLiteral("polyfills"), false},
    };
    // JSON is a JavaScript literal; "<" escaped so that no text can close a script.
    QString config = QString::fromUtf8(QJsonDocument(load).toJson(QJsonDocument::Compact));
    config.replace(u'<', QStringLiteral("\\u003c"));
    return QStringLiteral("window.txPlay&&window.txPlay(%1);").arg(config);
}

namespace {

// The local file an address names, with "." and ".." resolved; empty for other addresses.
QString cleanLocalPath(const QUrl& url) {
    if (!url.isLocalFile())
        return {};
    return QDir::cleanPath(url.toLocalFile());
}

} // namespace

bool coursewareMayLoad(const CoursewareAccess& access, const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    if (scheme == QStringLiteral("data") || scheme == QStringLiteral("blob"))
        return true;
    const QString path = cleanLocalPath(url);
    if (path.isEmpty() || url.host().size() > 0)
        return false;
    if (path == cleanLocalPath(access.wrapper))
        return true;
    if (!access.movie.isEmpty() && path == cleanLocalPath(access.movie))
        return true;
    const QString ruffle = cleanLocalPath(access.ruffleDir);
    return !ruffle.isEmpty() && path.startsWith(ruffle + u'/');
}

QByteArray blankMovie() {
    // SWF 10, uncompressed, one frame per second.
    const unsigned char bytes[] = {
        'F',  'W',  'S',  10,   20, 0, 0, 0, // signature, version, file length
        0x30, 0x0a, 0x00, 0xa0,              // stage rectangle: 6-bit fields 0, 20, 0, 20 twips
        0x00, 0x01, 0x01, 0x00,              // frame rate 1.0, one frame
        0x40, 0x00,                          // ShowFrame
        0x00, 0x00,                          // End
    };
    return QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

QString playerWarmScript() {
    return QStringLiteral("window.txWarm&&window.txWarm();");
}

QString playerStopScript() {
    return QStringLiteral("window.txStop&&window.txStop();");
}

QString playerPageHtml(const QUrl& ruffleDir) {
    // A new player element for every movie: removing the old one ends its instance, sound
    // and picture; the compiled Ruffle stays with the page. Titles tell the program how
    // the current movie fares; an older movie's events no longer count.
    // Two things would keep a core busy after a player is gone: Ruffle polls the gamepads
    // every frame once the browser has the API (the courseware needs none), and an audio
    // context of a removed player keeps running until it is closed.
    // txWarm plays a one-frame blank movie from memory and removes it once loaded.
    // Ruffle asks for WebGL first and falls back to a 2D canvas, which costs each new
    // player tens of milliseconds where the engine has no WebGL: once a player has found
    // out what the engine gives, the next ones ask for that directly.
    // The movie file is asked for and read as soon as the page is told to play it, not
    // once Ruffle's new instance is built and asks itself: the program's request filter
    // passes request and reply on its GUI thread, which is busiest just then, drawing the
    // window that opens. Ruffle's own request for that address then gets this answer, and
    // the title tells the program that the page has it (see CoursewarePlayer).
    // Marks (tx-ruffle-js, tx-wasm, tx-play, tx-movie, tx-player, tx-loaded) time the
    // page's own steps for diagnostics.
    const QString script =
        QStringLiteral(
            "window.RufflePlayer={config:{polyfills:false,autoplay:\"on\"}};(function(){"
            "try{Object.defineProperty(navigator,\"getGamepads\",{value:function(){return[];}})"
            "}catch(e){}"
            "function mark(n){try{performance.clearMarks(n);performance.mark(n);}catch(e){}}"
            "document.addEventListener(\"DOMContentLoaded\",function(){mark(\"tx-ruffle-js\");});"
            "var WA=window.WebAssembly,IS=WA&&WA.instantiateStreaming;"
            "if(IS)WA.instantiateStreaming=function(){return IS.apply(WA,arguments)"
            ".then(function(r){mark(\"tx-wasm\");return r;});};"
            "var gl={};var GC=HTMLCanvasElement.prototype.getContext;"
            "HTMLCanvasElement.prototype.getContext=function(t){var c=GC.apply(this,arguments);"
            "if(/webgl/.test(t))gl[t]=gl[t]||!!c;return c;};"
            "function renderer(){if(gl.webgl2)return null;if(gl.webgl)return\"webgl\";"
            "return gl.webgl===false?\"canvas\":null;}"
            "var F=window.fetch,early=null;"
            // The whole file is read at once, so that no part of the reply waits on the
            // program later; Ruffle gets it as the reply from that address.
            "function ahead(u){early=null;try{var h=new URL(u,document.baseURI).href;"
            "var c=window.AbortController?new AbortController():null;"
            "var a=F.call(window,h,c?{signal:c.signal}:undefined).then(function(r){"
            "return r.arrayBuffer().then(function(b){var x=new Response(b,{status:r.status,"
            "statusText:r.statusText,headers:r.headers});"
            "Object.defineProperty(x,\"url\",{value:r.url});mark(\"tx-movie\");return x;});});"
            "function got(){if(early===e&&document.title===\"%3\")document.title=\"%6\";}"
            "a.then(got,got);var e=early={href:h,answer:a,abort:c};}catch(x){}}"
            // Anything amiss with the early reply: Ruffle's own request goes out as usual.
            "window.fetch=function(i,o){var e=early,args=arguments;if(e){try{"
            "var u=new URL(typeof i===\"string\"?i:i.url,document.baseURI).href;"
            "var m=((o&&o.method)||(typeof i===\"string\"?\"GET\":i.method)).toUpperCase();"
            "if(u===e.href&&m===\"GET\"){early=null;return e.answer.catch(function(){"
            "return F.apply(window,args);});}}catch(x){}}"
            "return F.apply(window,arguments);};"
            "var contexts=[];var AC=window.AudioContext;"
            "if(AC){window.AudioContext=class extends AC{constructor(o){super(o);"
            "contexts.push(this);}};}"
            "function quiet(){contexts.forEach(function(c){if(c.state!==\"closed\")"
            "c.close().catch(function(){});});contexts=[];}"
            "var cur=null;"
            "window.txStop=function(){if(early){if(early.abort)early.abort.abort();early=null;}"
            "if(cur){var old=cur;cur=null;old.remove();quiet();}"
            "document.title=\"%3\";};"
            "function make(){var p=window.RufflePlayer.newest().createPlayer();cur=p;"
            "document.getElementById(\"player\").appendChild(p);return p;}"
            "window.txPlay=function(o){mark(\"tx-play\");window.txStop();"
            "if(!window.RufflePlayer.newest){document.title=\"%2\";return;}"
            "var r=renderer();if(r&&!o.preferredRenderer)o.preferredRenderer=r;"
            "var p=make();"
            "function tell(t){if(cur===p)document.title=t;}"
            "p.addEventListener(\"loadedmetadata\",function(){mark(\"tx-loaded\");tell(\"%1\");});"
            "p.addEventListener(\"loadederror\",function(){tell(\"%2\");});"
            "if(o.url)ahead(o.url);"
            "p.ruffle().load(o).then(function(){mark(\"tx-player\");},"
            "function(){tell(\"%2\");});"
            // A movie the player cannot read makes it show its own error screen, with no
            // event; until the movie has loaded, the screen is looked for.
            "var watch=setInterval(function(){if(cur!==p||document.title===\"%1\")"
            "{clearInterval(watch);return;}var s=p.shadowRoot;"
            "if(s&&s.querySelector(\"#panic\")){clearInterval(watch);tell(\"%2\");}},250);};"
            "window.txWarm=function(){if(cur||!window.RufflePlayer.newest)return;"
            "var p=make();p.style.visibility=\"hidden\";"
            "function done(){window.txWarmed=true;if(cur===p)window.txStop();}"
            "p.addEventListener(\"loadedmetadata\",done);"
            "p.addEventListener(\"loadederror\",done);"
            "p.ruffle().load({data:new Uint8Array([%4]),autoplay:\"on\",splashScreen:false,"
            "allowNetworking:\"none\",allowScriptAccess:false,unmuteOverlay:\"hidden\","
            "publicPath:%5}).catch(done);};})();")
            .arg(QString::fromUtf8(kPlayerReadyTitle), QString::fromUtf8(kPlayerFailedTitle),
                 QString::fromUtf8(kPlayerIdleTitle), blankMovieBytes(),
                 jsonString(ruffleDir.toString(QUrl::FullyEncoded)),
                 QString::fromUtf8(kPlayerReadingTitle));
    const QByteArray hash =
        QCryptographicHash::hash(script.toUtf8(), QCryptographicHash::Sha256).toBase64();
    const QString ruffleJs =
        ruffleDir.resolved(QUrl(QStringLiteral("ruffle.js"))).toString(QUrl::FullyEncoded);
    // Where Ruffle's own files come from: local files, or the one loopback origin that
    // serves them.
    const QString source = ruffleDir.isLocalFile()
                               ? QStringLiteral("file:")
                               : ruffleDir
                                     .adjusted(QUrl::RemovePath | QUrl::RemoveQuery |
                                               QUrl::RemoveFragment | QUrl::RemoveUserInfo)
                                     .toString(QUrl::FullyEncoded);
    // Only our inline script and Ruffle's own files run; nothing can be sent anywhere.
    const QString csp =
        QStringLiteral("default-src 'none'; script-src 'sha256-%1' %2 'wasm-unsafe-eval'; "
                       "connect-src file: %2; style-src 'unsafe-inline'; img-src file: data: "
                       "blob:; media-src data: blob:; font-src file: data: %2; worker-src %2 "
                       "blob:; form-action 'none'; base-uri 'none'")
            .arg(QString::fromLatin1(hash), source);
    return QStringLiteral("<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
                          "<meta http-equiv=\"Content-Security-Policy\" content=\"%1\">"
                          "<title>%4</title><style>html,body{margin:0;width:100%;height:100%;"
                          "overflow:hidden;background:#fffbe6}#player,ruffle-player{display:"
                          "block;width:100%;height:100%}</style><script>%2</script>"
                          "<script src=\"%3\"></script></head><body><div id=\"player\"></div>"
                          "</body></html>")
        .arg(htmlEscaped(csp), script, htmlEscaped(ruffleJs), QString::fromUtf8(kPlayerIdleTitle));
}

} // namespace tx
