#include "widgets/UsageHelpWindow.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace tx {
namespace {

TEST(UsageHelpWindow, ShowsLinesExactlyReadOnly) {
    const QStringList lines = {QStringLiteral("               "), QString(),
                               QStringLiteral("  1.按<开始练习>,即可开始练习算数了"),
                               QStringLiteral("   "), QString()};
    UsageHelpWindow w(QStringLiteral("使用说明"), QSize(456, 474), QPoint(156, 72), lines, nullptr);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("使用说明"));
    EXPECT_TRUE(w.isModal());
    auto* me = w.findChild<QPlainTextEdit*>(QStringLiteral("ME1"));
    ASSERT_NE(me, nullptr);
    EXPECT_TRUE(me->isReadOnly());
    EXPECT_EQ(w.lines(), lines);
    EXPECT_EQ(me->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(me->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);

    w.show();
    EXPECT_EQ(w.frameGeometry().topLeft(), QPoint(156, 72));
    EXPECT_EQ(w.frameGeometry().size(), QSize(456, 474));
    EXPECT_EQ(me->geometry(), w.rect());
}

} // namespace
} // namespace tx
