#include "web/WebRendering.h"

#include <gtest/gtest.h>

namespace tx {
namespace {

TEST(WebRendering, TellsEmulatedOpenGLFromAGraphicsCard) {
    struct Case {
        const char* renderer;
        bool software;
    };
    const Case cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {"softpipe", true},
        {"Software Rasterizer", true},
        {"Mesa DRI swrast", true},
        {"SWR (LLVM 12.0.0, 256 bits)", true},
        {"", true}, // no renderer: nothing to draw with
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
        {"AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49, 6.1.0-18-amd64)", false},
        {"NVIDIA GeForce GT 710/PCIe/SSE2", false},
        {"virgl (Intel(R) UHD Graphics 630)", false}, // drawn by the host's card
        {"SVGA3D; build: RELEASE;  LLVM;", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isSoftwareOpenGL(c.renderer), c.software) << c.renderer;
}

} // namespace
} // namespace tx
