#pragma once

#include "data/Tdm.h"
#include "lessons/LearningWindow.h"
#include "lessons/LessonDatabase.h"
#include "lessons/LessonModule.h"
#include "platform/testing/TestServices.h"
#include "widgets/WidgetAccessibility.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace tx::test {

// The bytes of a BMP file of a w x h picture filled with one colour.
inline QByteArray bmpBytes(int w, int h, QColor colour = Qt::red) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// A program folder with a content database of the shipped tables, the data module on
// it, and the test doubles of every platform service.
class LessonFixture : public ::testing::Test, public LessonDatabase {
protected:
    LessonFixture() {
        installWidgetAccessibility();
        t.paths.setExecutablePath(dir.filePath("tongxue"));
    }
    ~LessonFixture() override {
        delete window.data();
        if (dm) {
            dm->DataModuleDestroy();
        }
    }

    // Connects the data module (after the rows are in).
    void connectDm() {
        dm = std::make_unique<Tdm>(t.services);
        ASSERT_EQ(dm->DataModuleCreate(), QString());
        t.services.dm = dm.get();
    }

    // A sound file that exists in the program folder; answers its full path.
    QString soundFile(const QString& name) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("RIFF");
        return file.fileName();
    }

    template <typename W> W* openWindow() {
        connectDm();
        auto* w = new W(t.services);
        window = w;
        w->show();
        return w;
    }

    template <typename T = QWidget> T* child(const QString& name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    TestServices t;
    std::unique_ptr<Tdm> dm;
    QPointer<LearningWindow> window;
};

} // namespace tx::test
