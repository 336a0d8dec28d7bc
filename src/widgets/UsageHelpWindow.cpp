#include "widgets/UsageHelpWindow.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

namespace tx {

UsageHelpWindow::UsageHelpWindow(const QString& caption, QSize outerSize, QPoint position,
                                 const QStringList& lines, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      text_(new QPlainTextEdit(this)), outerSize_(outerSize) {
    setWindowTitle(caption);
    setModal(true);
    resize(outerSize);
    move(position); // a window's position is that of its frame

    text_->setObjectName(QStringLiteral("ME1"));
    text_->setReadOnly(true);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("serif")});
    font.setPixelSize(12);
    text_->setFont(font);
    QPalette pal = text_->palette();
    pal.setColor(QPalette::Base, QColor(255, 255, 0));
    text_->setPalette(pal);
    text_->setPlainText(lines.join(u'\n'));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);
}

QStringList UsageHelpWindow::lines() const {
    QStringList out;
    for (QTextBlock b = text_->document()->begin(); b.isValid(); b = b.next())
        out << b.text();
    return out;
}

void UsageHelpWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (sized_)
        return;
    sized_ = true;
    // The size given is the outer one; the frame is known only once the window is shown.
    const QSize frame = frameGeometry().size() - geometry().size();
    if (!frame.isEmpty())
        resize(outerSize_ - frame);
}

} // namespace tx
