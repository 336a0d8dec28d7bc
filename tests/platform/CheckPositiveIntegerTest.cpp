#include "platform/CheckPositiveInteger.h"
#include "platform/testing/ScriptedDialogs.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace tx {
namespace {

struct Case {
    const char* text;
    bool converts;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class CheckPositiveIntegerCase : public testing::TestWithParam<Case> {};

TEST_P(CheckPositiveIntegerCase, AnswersAndWarnsAsSpecified) {
    const Case c = GetParam();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* box = new QLineEdit(&window);
    box->setObjectName(QStringLiteral("numed"));
    layout->addWidget(other);
    layout->addWidget(box);
    window.show();
    window.activateWindow();
    const bool active = QTest::qWaitForWindowActive(&window);
    other->setFocus();
    box->setText(QString::fromUtf8(c.text));

    ScriptedDialogs dialogs;
    EXPECT_EQ(CheckPositiveInteger(dialogs, box), c.converts);

    if (c.converts) {
        EXPECT_TRUE(dialogs.messages().empty());
        EXPECT_EQ(box->text(), QString::fromUtf8(c.text)); // the value is not kept or changed
        return;
    }
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const ScriptedDialogs::Message& m = dialogs.messages().front();
    EXPECT_EQ(m.text, QStringLiteral("此编辑框只能输入正整数"));
    EXPECT_EQ(m.caption, QStringLiteral("注意"));
    EXPECT_EQ(m.icon, MessageIcon::Warning);
    EXPECT_EQ(m.buttons, int(Ok));
    EXPECT_EQ(m.ownerAtCall, &window);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(window.focusWidget(), box);
    if (active) {
        EXPECT_TRUE(box->hasFocus());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, CheckPositiveIntegerCase,
                         testing::Values(Case{"0", true}, Case{"-5", true}, Case{"  42", true},
                                         Case{"+7", true}, Case{"2147483647", true},
                                         Case{"-2147483648", true}, Case{"007", true},
                                         Case{"", false}, Case{"abc", false}, Case{"12 ", false},
                                         Case{"2147483648", false}, Case{"-2147483649", false},
                                         Case{"1.5", false}, Case{" ", false}, Case{"+", false},
                                         Case{"-", false}, Case{"1e3", false}, Case{"12a", false},
                                         Case{"\xef\xbc\x91\xef\xbc\x92", false} /* fullwidth 12 */,
                                         Case{"99999999999999999999", false}, Case{"- 5", false}));

} // namespace
} // namespace tx
