#pragma once

#include <QByteArrayView>

namespace tx {

// How web views (pages, courseware) are drawn.
enum class WebRendering {
    Graphics, // by the graphics card, through OpenGL
    Software, // by the processor, into plain window pictures
};

// Whether an OpenGL renderer, by its GL_RENDERER name, is the processor emulating a
// graphics card (Mesa's llvmpipe and softpipe, and the like).
bool isSoftwareOpenGL(QByteArrayView renderer);

// Draws web views in software where OpenGL itself would run on the processor, as on a
// computer without a graphics driver, a virtual machine or a remote desktop: there every
// frame of a window would pass through emulated OpenGL, tens of milliseconds each on a
// big window. A choice the user made through Qt's own environment variables stands.
// Call after the application object is made (with shared OpenGL contexts) and before the
// first web view or profile.
WebRendering chooseWebRendering();

} // namespace tx
