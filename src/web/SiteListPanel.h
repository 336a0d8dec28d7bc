#pragma once

#include <QWidget>

class QButtonGroup;
class QRadioButton;

namespace tx {

class BrowserControl;

// The site list of the browser windows (QMTPL): one radio button per page of the maker's
// site; marking one, by the user or by the program, loads its page into the browser.
class SiteListPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int Height = 33;

    SiteListPanel(const QString& programDir, BrowserControl* browser, QWidget* parent);
    // Marks the entry of that objectName (loading its page); false when there is none.
    bool mark(const QString& entry);
    // The objectName of the marked entry, or empty.
    QString marked() const;

private:
    QButtonGroup* group_;
};

} // namespace tx
