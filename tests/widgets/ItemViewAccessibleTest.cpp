#include "widgets/ItemViewAccessible.h"
#include "widgets/WidgetAccessibility.h"

#include "platform/WaitSeconds.h"
#include "platform/testing/TestClock.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <vector>

namespace tx {
namespace {

QAccessibleInterface* iface(QObject* o) {
    return QAccessible::queryAccessibleInterface(o);
}

void settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

QStringList childNames(QAccessibleInterface* view) {
    QStringList names;
    for (int i = 0; i < view->childCount(); ++i) {
        QAccessibleInterface* c = view->child(i);
        names << (c && c->object() == nullptr ? c->text(QAccessible::Name) : QStringLiteral("#"));
    }
    return names;
}

class ItemViews : public ::testing::Test {
protected:
    void SetUp() override {
        installWidgetAccessibility();
        window.setGeometry(50, 50, 320, 240);
    }
    void show(QWidget* view) {
        view->setGeometry(0, 0, 300, 120);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    static QAccessibleActionInterface* actions(QAccessibleInterface* i) {
        return i ? i->actionInterface() : nullptr;
    }

    QWidget window;
};

TEST_F(ItemViews, ListItemsAreNamedAndPressClicksThemAfterTheReply) {
    auto* list = new QListWidget(&window);
    for (int i = 0; i < 40; ++i)
        list->addItem(QString::number(i) + QStringLiteral("字"));
    show(list);
    std::vector<QString> clicked;
    QObject::connect(list, &QListWidget::itemClicked,
                     [&](QListWidgetItem* item) { clicked.push_back(item->text()); });

    QAccessibleInterface* view = iface(list);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->role(), QAccessible::List);
    ASSERT_EQ(view->childCount(), 40);
    QAccessibleInterface* last = view->child(39);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->role(), QAccessible::ListItem);
    EXPECT_EQ(last->text(QAccessible::Name), QStringLiteral("39字"));
    EXPECT_EQ(last->parent(), view);
    EXPECT_EQ(view->indexOfChild(last), 39);
    EXPECT_EQ(view->child(39), last) << "one interface per item";
    EXPECT_TRUE(last->state().offscreen) << "below the visible rows";
    ASSERT_NE(actions(last), nullptr);
    EXPECT_EQ(actions(last)->actionNames().first(), QAccessibleActionInterface::pressAction());

    actions(last)->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(clicked.empty()) << "the bus gets its reply before the click runs";
    settle();
    ASSERT_EQ(clicked, std::vector<QString>{QStringLiteral("39字")});
    EXPECT_EQ(list->currentRow(), 39);
    EXPECT_TRUE(last->state().selected);
    EXPECT_FALSE(last->state().offscreen) << "scrolled into view to be clicked";
    const QRect r = last->rect();
    EXPECT_EQ(view->childAt(r.center().x(), r.center().y()), last);
}

TEST_F(ItemViews, AClickOnTheViewportIsWhatTheItemsFilterSees) {
    // A window that reacts to the mouse on the viewport, not to the view's signals.
    auto* tree = new QTreeWidget(&window);
    tree->setHeaderHidden(true);
    for (const char* name : {"静夜思", "春晓", "咏鹅"})
        tree->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::fromUtf8(name)}));
    show(tree);
    struct Filter : QObject {
        QTreeWidget* tree;
        QStringList releases;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::MouseButtonRelease && tree->currentItem())
                releases << tree->currentItem()->text(0);
            return false;
        }
    } filter;
    filter.tree = tree;
    tree->viewport()->installEventFilter(&filter);

    QAccessibleInterface* view = iface(tree);
    EXPECT_EQ(view->role(), QAccessible::Tree);
    EXPECT_EQ(childNames(view), (QStringList{"#", "静夜思", "春晓", "咏鹅"}))
        << "the header first, as Qt's trees count it";
    QAccessibleInterface* second = view->child(2);
    EXPECT_EQ(second->role(), QAccessible::TreeItem);
    actions(second)->doAction(QAccessibleActionInterface::pressAction());
    settle();
    EXPECT_EQ(filter.releases, QStringList{QStringLiteral("春晓")});

    // Toggle only selects, as before.
    actions(view->child(3))->doAction(QAccessibleActionInterface::toggleAction());
    settle();
    EXPECT_EQ(filter.releases.size(), 1);
    EXPECT_TRUE(view->child(3)->state().selected);
    EXPECT_FALSE(second->state().selected);
}

// Qt's views announce focus and selection by child number, counted as Qt's own interfaces
// count: ours must number the same children the same way.
QStringList asQtNumbers(QAccessibleInterface* view) {
    QStringList out;
    for (int i = 0; i < view->childCount(); ++i) {
        QAccessibleInterface* c = view->child(i);
        const bool header = c->role() == QAccessible::ColumnHeader ||
                            qobject_cast<QHeaderView*>(c->object()) != nullptr;
        out << (header ? QStringLiteral("header") : c->text(QAccessible::Name));
    }
    return out;
}

TEST_F(ItemViews, ChildNumbersAreThoseOfQtsOwnViews) {
    auto* tree = new QTreeWidget(&window);
    tree->setHeaderHidden(true);
    auto* fruit = new QTreeWidgetItem(QStringList{QStringLiteral("水果")});
    fruit->addChildren({new QTreeWidgetItem(QStringList{QStringLiteral("苹果")}),
                        new QTreeWidgetItem(QStringList{QStringLiteral("香蕉")})});
    auto* soup = new QTreeWidgetItem(QStringList{QStringLiteral("汤")});
    soup->addChild(new QTreeWidgetItem(QStringList{QStringLiteral("蛋汤")}));
    tree->addTopLevelItems({fruit, soup});
    show(tree);

    QStandardItemModel model;
    auto* qtFruit = new QStandardItem(QStringLiteral("水果"));
    qtFruit->appendRows(
        {new QStandardItem(QStringLiteral("苹果")), new QStandardItem(QStringLiteral("香蕉"))});
    auto* qtSoup = new QStandardItem(QStringLiteral("汤"));
    qtSoup->appendRow(new QStandardItem(QStringLiteral("蛋汤")));
    model.appendRow(qtFruit);
    model.appendRow(qtSoup);
    QTreeView qtTree(&window);
    qtTree.setHeaderHidden(true);
    qtTree.setModel(&model);
    qtTree.setGeometry(0, 120, 300, 120);
    qtTree.show();
    QCoreApplication::processEvents();

    QAccessibleInterface* ours = iface(tree);
    QAccessibleInterface* theirs = iface(&qtTree);
    EXPECT_EQ(asQtNumbers(ours), (QStringList{"header", "水果", "汤"})) << "collapsed";
    EXPECT_EQ(asQtNumbers(ours), asQtNumbers(theirs));
    EXPECT_TRUE(ours->child(1)->state().expandable);
    EXPECT_TRUE(ours->child(1)->state().collapsed);
    tree->expandItem(soup);
    qtTree.expand(qtSoup->index());
    EXPECT_EQ(asQtNumbers(ours), asQtNumbers(theirs));
    tree->expandItem(fruit);
    qtTree.expand(qtFruit->index());
    EXPECT_EQ(asQtNumbers(ours), (QStringList{"header", "水果", "苹果", "香蕉", "汤", "蛋汤"}));
    EXPECT_EQ(asQtNumbers(ours), asQtNumbers(theirs));

    auto* list = new QListWidget(&window);
    list->addItems({QStringLiteral("一"), QStringLiteral("二")});
    QListView qtList(&window);
    qtList.setModel(&model);
    qtList.show();
    EXPECT_EQ(asQtNumbers(iface(list)), (QStringList{"一", "二"}));
    EXPECT_EQ(asQtNumbers(iface(&qtList)), (QStringList{"水果", "汤"}));

    QApplication::setActiveWindow(&window);
    tree->setFocus();
    tree->setCurrentItem(fruit->child(1));
    ASSERT_NE(ours->focusChild(), nullptr);
    EXPECT_EQ(ours->focusChild()->text(QAccessible::Name), QStringLiteral("香蕉"));
}

TEST_F(ItemViews, ItemsOfAClearedListGoAndPressesOnThemDoNothing) {
    auto* list = new QListWidget(&window);
    list->addItems({QStringLiteral("一"), QStringLiteral("二")});
    show(list);
    int clicks = 0;
    QObject::connect(list, &QListWidget::itemClicked, [&] { ++clicks; });
    QAccessibleInterface* view = iface(list);
    QAccessibleInterface* old = view->child(1);
    const QAccessible::Id oldId = QAccessible::uniqueId(old);

    // Pressed, then the list refilled before the press runs: nothing is clicked.
    actions(old)->doAction(QAccessibleActionInterface::pressAction());
    list->clear();
    settle();
    EXPECT_EQ(clicks, 0);

    list->addItems({QStringLiteral("三"), QStringLiteral("四"), QStringLiteral("五")});
    EXPECT_EQ(childNames(view), (QStringList{"三", "四", "五"}));
    EXPECT_EQ(QAccessible::accessibleInterface(oldId), nullptr) << "the old item's interface";
    actions(view->child(2))->doAction(QAccessibleActionInterface::pressAction());
    settle();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("五"));
}

TEST_F(ItemViews, APressDuringAWaitClicksAfterIt) {
    auto* list = new QListWidget(&window);
    list->addItems({QStringLiteral("一"), QStringLiteral("二")});
    show(list);
    std::vector<QString> order;
    QObject::connect(list, &QListWidget::itemClicked,
                     [&](QListWidgetItem* item) { order.push_back(item->text()); });
    TestClock clock{10, 0};
    QTimer::singleShot(0, [&] {
        actions(iface(list)->child(1))->doAction(QAccessibleActionInterface::pressAction());
        settle();
        order.push_back(QStringLiteral("still waiting"));
    });
    WaitSeconds(clock, 1);
    order.push_back(QStringLiteral("wait returned"));
    settle();
    EXPECT_EQ(order, (std::vector<QString>{QStringLiteral("still waiting"),
                                           QStringLiteral("wait returned"), QStringLiteral("二")}));
}

TEST_F(ItemViews, OtherViewsKeepQtsOwnInterface) {
    QListView plain(&window);
    QTableWidget table(&window);
    EXPECT_EQ(itemViewAccessible(QStringLiteral("QListView"), &plain), nullptr);
    EXPECT_EQ(itemViewAccessible(QStringLiteral("QTableWidget"), &table), nullptr);
}

} // namespace
} // namespace tx
