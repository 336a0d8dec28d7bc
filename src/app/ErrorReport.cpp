#include "ErrorReport.h"

#include "platform/Dialogs.h"

#include <cstdio>

namespace tx {

void ErrorReport::show(const QString& text) const {
    dialogs_.messageBox(QApplication::activeWindow(), text, kApplicationTitle, MessageIcon::Error,
                        MessageButton::Ok);
}

void ErrorReport::show(const std::exception& error) const {
    show(QString::fromUtf8(error.what()));
}

bool ErrorReport::guard(const std::function<void()>& work) const {
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        show(error);
    }
    return false;
}

TxApplication::TxApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TxApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (report_)
            report_->show(error);
        else
            std::fprintf(stderr, "tongxue: %s\n", error.what());
    }
    return false;
}

} // namespace tx
