#pragma once

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

namespace tx {

class Dialogs;

inline const QString kApplicationTitle = QStringLiteral("童学三步通");

// The application's default error report: an unexpected error is shown in a message
// box captioned with the application title, and the program goes on.
class ErrorReport {
public:
    explicit ErrorReport(Dialogs& dialogs) : dialogs_(dialogs) {}
    void show(const QString& text) const;
    void show(const std::exception& error) const;
    // Runs work; an error it raises is reported instead of leaving the caller.
    bool guard(const std::function<void()>& work) const;

private:
    Dialogs& dialogs_;
};

// Catches what an event handler raises, so that no exception crosses the event loop.
class TxApplication : public QApplication {
public:
    TxApplication(int& argc, char** argv);
    void setErrorReport(const ErrorReport* report) { report_ = report; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    const ErrorReport* report_ = nullptr;
};

} // namespace tx
