#include "WebRendering.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace tx {

bool isSoftwareOpenGL(QByteArrayView renderer) {
    const QByteArray name = renderer.toByteArray().toLower();
    for (const char* software : {"llvmpipe", "softpipe", "software", "swrast", "swr "})
        if (name.contains(software))
            return true;
    return name.trimmed().isEmpty(); // no renderer at all
}

namespace {

bool qtToldOtherwise() {
    return qEnvironmentVariableIsSet("QT_QUICK_BACKEND") ||
           qEnvironmentVariableIsSet("QSG_RHI_BACKEND");
}

// The renderer of the context Qt shares with every OpenGL user of the program (the web
// engine's too); empty when there is none.
QByteArray sharedRenderer() {
    QOpenGLContext* shared = QOpenGLContext::globalShareContext();
    if (!shared)
        return {};
    QOffscreenSurface surface;
    surface.setFormat(shared->format());
    surface.create();
    if (!surface.isValid() || !shared->makeCurrent(&surface))
        return {};
    const auto* name = reinterpret_cast<const char*>(shared->functions()->glGetString(GL_RENDERER));
    QByteArray renderer(name ? name : "");
    shared->doneCurrent();
    return renderer;
}

} // namespace

WebRendering chooseWebRendering() {
    if (qtToldOtherwise())
        return QQuickWindow::graphicsApi() == QSGRendererInterface::Software
                   ? WebRendering::Software
                   : WebRendering::Graphics;
    if (!isSoftwareOpenGL(sharedRenderer()))
        return WebRendering::Graphics;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return WebRendering::Software;
}

} // namespace tx
