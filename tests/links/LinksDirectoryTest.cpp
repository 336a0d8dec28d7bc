#include "LinksTestSupport.h"
#include "web/Sites.h"
#include "web/WebAllForm.h"

#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace tx {
namespace {

using testing::ModalProbe;

const QString kProgramDir = QStringLiteral("/tmp/tongxue-test");

class LinksDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TWEBALLForm(t.services, nullptr);
        // Tall enough to leave empty space below the entries.
        form->resize(800, 1000);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
        list = form->findChild<QTreeWidget*>("TV1");
        ASSERT_NE(list, nullptr);
        browser = static_cast<RecordingBrowserControl*>(form->browser());
    }
    void TearDown() override { delete form.data(); }

    void clickRow(int row) {
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
    QWidget* picture() const { return form->findChild<QWidget*>("PICPL"); }
    QPushButton* bigButton() const { return form->findChild<QPushButton*>("WEBBIGSB"); }

    TestServices t;
    QPointer<TWEBALLForm> form;
    QTreeWidget* list = nullptr;
    RecordingBrowserControl* browser = nullptr;
};

TEST(UsefulLinks, HoldTheThirtyFourEntriesWithSeparatorsInPlace) {
    const QList<LinkEntry> links = usefulLinks(kProgramDir);
    ASSERT_EQ(links.size(), 34);
    const QSet<int> separatorRows{6, 12, 19, 24, 31};
    QSet<QString> addresses;
    for (int i = 0; i < links.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(links[i].isSeparator(), separatorRows.contains(i + 1));
        if (links[i].isSeparator()) {
            EXPECT_TRUE(links[i].address.isEmpty());
            continue;
        }
        EXPECT_FALSE(links[i].caption.isEmpty());
        EXPECT_FALSE(addresses.contains(links[i].address)) << links[i].address.toStdString();
        addresses.insert(links[i].address);
        if (i > 0) {
            EXPECT_TRUE(links[i].address.startsWith(QStringLiteral("https://")) ||
                        links[i].address.startsWith(QStringLiteral("http://")));
        }
    }
    EXPECT_EQ(links.first().caption, QStringLiteral("沐川-实用网址大全"));
    EXPECT_EQ(links.first().address,
              makerSiteAddress(kProgramDir, MakerSite::First, QStringLiteral("/wzdq.htm")));
    EXPECT_EQ(links[32].caption, QStringLiteral("股票行情查询"));
    EXPECT_TRUE(links[32].address.endsWith(u'='));
    EXPECT_EQ(links.last().caption, QStringLiteral("农产品价格查询"));
}

TEST_F(LinksDirectory, OpensCoveredWithNothingLoaded) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("我的最爱->实用网址大全"));
    EXPECT_EQ(list->topLevelItemCount(), 34);
    EXPECT_TRUE(picture()->isVisible());
    EXPECT_TRUE(picture()->geometry().contains(form->browser()->widget()->geometry()));
    EXPECT_TRUE(browser->addresses().isEmpty());
}

TEST_F(LinksDirectory, BigPageButtonDoesNothingBeforeAChoice) {
    ModalProbe probe;
    bigButton()->click();
    ModalProbe::settle();
    EXPECT_TRUE(probe.seen().isEmpty());
}

// Every row in turn: a site loads its page and the big window shows the same page under
// the entry's caption; a separator empties the address and leaves the page as it was.
TEST_F(LinksDirectory, EveryEntryLoadsItsPageAndSeparatorsEmptyTheAddress) {
    const QList<LinkEntry> links = usefulLinks(kProgramDir);
    for (int row = 0; row < links.size(); ++row) {
        SCOPED_TRACE(row + 1);
        const qsizetype loadsBefore = browser->addresses().size();
        clickRow(row);
        EXPECT_FALSE(picture()->isVisible());
        EXPECT_EQ(t.services.state.CurrentLinkAddress, links[row].address);

        QString bigTitle, bigAddress;
        ModalProbe probe([&](QWidget* w) {
            bigTitle = w->windowTitle();
            bigAddress = t.browsers.last()->current();
        });
        bigButton()->click();
        ModalProbe::settle();
        if (links[row].isSeparator()) {
            EXPECT_EQ(browser->addresses().size(), loadsBefore);
            EXPECT_TRUE(probe.seen().isEmpty());
        } else {
            EXPECT_EQ(browser->current(), links[row].address);
            EXPECT_EQ(probe.seen(), QStringList{"TWEBBIGForm"});
            EXPECT_EQ(bigTitle, links[row].caption);
            EXPECT_EQ(bigAddress, links[row].address);
        }
    }
}

TEST_F(LinksDirectory, ClickBelowTheEntriesReloadsTheSelectedOneAndKeysLoadNothing) {
    const QList<LinkEntry> links = usefulLinks(kProgramDir);
    clickRow(3);
    const QRect lastRow = list->visualRect(list->model()->index(33, 0));
    ASSERT_LT(lastRow.bottom() + 20, list->viewport()->height());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, lastRow.bottom() + 10));
    EXPECT_EQ(browser->addresses(), (QStringList{links[3].address, links[3].address}));

    list->setFocus();
    QTest::keyClick(list->viewport(), Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_NE(list->indexOfTopLevelItem(list->currentItem()), 3);
    EXPECT_EQ(browser->addresses().size(), 2);
    EXPECT_EQ(t.services.state.CurrentLinkAddress, links[3].address);

    // The big window names the page it shows, not the entry the keys moved to.
    QString bigTitle;
    ModalProbe probe([&](QWidget* w) { bigTitle = w->windowTitle(); });
    bigButton()->click();
    ModalProbe::settle();
    EXPECT_EQ(bigTitle, links[3].caption);
}

TEST_F(LinksDirectory, QuitButtonCloses) {
    form->findChild<QPushButton*>("QuitSb")->click();
    QApplication::processEvents();
    EXPECT_TRUE(form.isNull() || !form->isVisible());
}

TEST(OpenLinksDirectory, StartsWithNoAddressWhateverWasChosenBefore) {
    TestServices t;
    t.services.state.CurrentLinkAddress = QStringLiteral("https://example.org/");
    for (int round = 0; round < 2; ++round) {
        bool covered = false;
        QString addressWhileOpen = QStringLiteral("unset");
        qsizetype loads = -1;
        ModalProbe probe([&](QWidget* w) {
            addressWhileOpen = t.services.state.CurrentLinkAddress;
            covered = w->findChild<QWidget*>("PICPL")->isVisible();
            loads = t.browsers.last()->addresses().size();
            // Choose an entry, so that the next opening has something to forget.
            static_cast<TWEBALLForm*>(w)->findChild<QTreeWidget*>("TV1")->setCurrentItem(
                w->findChild<QTreeWidget*>("TV1")->topLevelItem(1));
            static_cast<TWEBALLForm*>(w)->TV1Click();
        });
        OpenLinksDirectory(t.services, nullptr);
        EXPECT_EQ(probe.seen(), QStringList{"TWEBALLForm"});
        EXPECT_TRUE(addressWhileOpen.isEmpty());
        EXPECT_TRUE(covered);
        EXPECT_EQ(loads, 0);
        EXPECT_FALSE(t.services.state.CurrentLinkAddress.isEmpty());
    }
    QApplication::processEvents();
    EXPECT_EQ(WEBALLForm, nullptr);
}

} // namespace
} // namespace tx
