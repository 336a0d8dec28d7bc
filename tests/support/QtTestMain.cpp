#include <QApplication>
#include <gmock/gmock.h>

// Widgets need an application object; tests run under the offscreen platform.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
