#pragma once

#include "Browser.h"

#include <QUrl>

namespace tx {

// Opens an address in the desktop's browser (QDesktopServices::openUrl).
class DesktopExternalBrowser : public ExternalBrowser {
public:
    void open(const QString& address) override;

    // The address as a URL: an address with a scheme (http:, https:, file:, mailto:, ...)
    // as it is; a plain local path (relative ones against the working directory, also a
    // drive-letter path) as a file: URL.
    static QUrl toUrl(const QString& address);
};

} // namespace tx
