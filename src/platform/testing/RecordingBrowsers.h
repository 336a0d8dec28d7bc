#pragma once

#include "platform/Browser.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace tx {

// Records the addresses it is asked to open in the desktop's browser.
class RecordingExternalBrowser : public ExternalBrowser {
public:
    void open(const QString& address) override { opened_ << address; }
    const QStringList& opened() const { return opened_; }
    void clear() { opened_.clear(); }

private:
    QStringList opened_;
};

// An embedded browser control that only records the addresses it is asked to show; its
// widget is a plain QWidget named "RecordingBrowser".
class RecordingBrowserControl : public BrowserControl {
public:
    explicit RecordingBrowserControl(QWidget* parent);
    QWidget* widget() override { return widget_; }
    void navigate(const QString& address) override { addresses_ << address; }
    const QStringList& addresses() const { return addresses_; }
    QString current() const { return addresses_.isEmpty() ? QString() : addresses_.last(); }

private:
    QWidget* widget_;
    QStringList addresses_;
};

// Creates RecordingBrowserControls and keeps them for inspection (the factory must
// outlive its controls). A control is owned by
// its widget (it is deleted with it); controls() answers only those still alive.
class RecordingBrowserFactory : public BrowserFactory {
public:
    BrowserControl* create(QWidget* parent) override;
    std::vector<RecordingBrowserControl*> controls() const;
    // Every address any control was asked to show, in order.
    const QStringList& allAddresses() const { return all_; }
    RecordingBrowserControl* last() const;
    void clear() { all_.clear(); }

private:
    friend class RecordingBrowserControl;
    std::vector<QPointer<QWidget>> widgets_;
    QStringList all_;
};

} // namespace tx
