// The floor for start-up: a bare Qt Widgets program with one web view on a local page.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>
#include <unistd.h>

int main(int argc, char** argv) {
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QWebEngineView view;
    view.setWindowTitle("minimal-webview");
    view.resize(800, 578);
    if (argc > 1)
        view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    view.show();
    return QApplication::exec();
}
