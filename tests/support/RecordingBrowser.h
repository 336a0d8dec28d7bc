#pragma once

#include "platform/Browser.h"

#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

namespace tx::testing {

// A browser control that only remembers the addresses it was asked to show.
class RecordingBrowser : public BrowserControl {
public:
    explicit RecordingBrowser(QWidget* parent) : widget_(new QWidget(parent)) {}
    QWidget* widget() override { return widget_; }
    void navigate(const QString& address) override { addresses.append(address); }
    QStringList addresses;

private:
    QWidget* widget_;
};

class RecordingBrowserFactory : public BrowserFactory {
public:
    BrowserControl* create(QWidget* parent) override {
        created.push_back(std::make_unique<RecordingBrowser>(parent));
        return created.back().get();
    }
    RecordingBrowser* last() const { return created.empty() ? nullptr : created.back().get(); }
    std::vector<std::unique_ptr<RecordingBrowser>> created;
};

} // namespace tx::testing
