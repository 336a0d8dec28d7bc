#pragma once

#include "platform/Browser.h"

#include <QUrl>

class QWebEngineView;

namespace tx {

// An address as the program hands it over: a web or file: address, or a plain local path.
QUrl addressToUrl(const QString& address);

class WebEngineBrowser : public BrowserControl {
public:
    explicit WebEngineBrowser(QWidget* parent);
    QWidget* widget() override;
    void navigate(const QString& address) override;

private:
    QWebEngineView* view_;
};

class WebEngineBrowserFactory : public BrowserFactory {
public:
    BrowserControl* create(QWidget* parent) override;
};

} // namespace tx
