#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace tx {

// The embedded browser control: the program hands it an address (a web address, a
// file: address or a plain local path, also of a .swf file) and relies on it to show it.
class BrowserControl {
public:
    virtual ~BrowserControl() = default;
    virtual QWidget* widget() = 0;
    virtual void navigate(const QString& address) = 0;
};

class BrowserFactory {
public:
    virtual ~BrowserFactory() = default;
    // The control's widget is parented to parent; the control lives as long as it.
    virtual BrowserControl* create(QWidget* parent) = 0;
    // Readies whatever showing courseware needs, so that the first movie shows fast; for
    // idle time after start-up. Does nothing where nothing needs readying.
    virtual void prepareCourseware() {}
};

class ExternalBrowser {
public:
    virtual ~ExternalBrowser() = default;
    virtual void open(const QString& address) = 0;
};

} // namespace tx
