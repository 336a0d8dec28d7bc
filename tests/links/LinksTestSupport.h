#pragma once

#include "platform/Browser.h"
#include "platform/testing/TestServices.h"
#include "web/Sites.h"
#include "widgets/ClickablePanel.h"
#include "widgets/TLabel3D.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <ostream>

// Readable failure messages for the texts compared.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '{' << l.join(QStringLiteral(", ")).toStdString() << '}';
}

namespace tx::testing {

// While alive, hands every modal window that comes up (the topmost) to inspect once, then
// closes it, so that a test never hangs in a modal loop. The names of the windows seen are
// kept in order.
class ModalProbe {
public:
    using Inspect = std::function<void(QWidget*)>;
    explicit ModalProbe(Inspect inspect = {}) : inspect_(std::move(inspect)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start();
    }
    const QStringList& seen() const { return seen_; }
    // Lets a probe whose window was not yet shown see it (after a call that should not
    // have opened anything, this gives it the chance to).
    static void settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

private:
    void tick() {
        QPointer<QWidget> w = QApplication::activeModalWidget();
        if (!w)
            return;
        seen_ << w->objectName();
        if (inspect_)
            inspect_(w);
        if (w && w->isVisible())
            w->close();
    }
    Inspect inspect_;
    QTimer timer_;
    QStringList seen_;
};

// The parts of the main window that the web links attach to, named and sized as there.
struct FakeMainWindow {
    QWidget window;
    QWidget* band = nullptr;
    TLabel3D* maker = nullptr;
    QWidget* bottom = nullptr;
    BrowserControl* WB1 = nullptr;

    explicit FakeMainWindow(Services& services) {
        window.setObjectName("MainForm");
        window.resize(800, 578);
        band = new ClickablePanel(&window);
        band->setObjectName("QMTPL");
        band->setGeometry(0, 0, 800, 48);
        maker = new TLabel3D(band);
        maker->setCaption(makerInfo().company + QStringLiteral("-幼儿园小学管理软件 第一品牌"));
        maker->setObjectName("QMTLB");
        maker->setGeometry(12, 0, 520, 48);
        auto* bar = new QWidget(&window);
        bar->setGeometry(0, 48, 800, 38);
        int x = 0;
        for (const char* name : {"ABOUTSB", "PAYSB", "SpeedButton1", "MINISB", "QuitSb"}) {
            auto* b = new QToolButton(bar);
            b->setObjectName(name);
            b->setText(name);
            b->setGeometry(x, 4, 80, 30);
            x += 90;
        }
        bottom = new QWidget(&window);
        bottom->setObjectName("BottomPL");
        bottom->setGeometry(0, 578 - 213, 800, 213);
        WB1 = services.browsers->create(bottom);
        WB1->widget()->setObjectName("WB1");
        WB1->widget()->setGeometry(0, 0, 800, 213);
    }
};

} // namespace tx::testing
