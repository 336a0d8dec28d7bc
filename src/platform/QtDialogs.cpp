#include "QtDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace tx {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonMap {
    MessageButton ours;
    QMessageBox::StandardButton qt;
    const char16_t* text;
};

// In the order the buttons are offered (and the first offered is the default).
constexpr ButtonMap kButtons[] = {
    {Yes, QMessageBox::Yes, u"是(&Y)"},
    {No, QMessageBox::No, u"否(&N)"},
    {Ok, QMessageBox::Ok, u"确定"},
    {Cancel, QMessageBox::Cancel, u"取消"},
};

int selectedIndex(const QStringList& filters, const QString& selected) {
    const qsizetype i = filters.indexOf(selected);
    return i < 0 ? 1 : int(i) + 1;
}

} // namespace

QStringList QtDialogs::toQtFilters(const QString& filter) {
    if (!filter.contains(u'|'))
        return filter.isEmpty() ? QStringList() : filter.split(QStringLiteral(";;"));
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QStringLiteral("*.*"))
                p = QStringLiteral("*");
        }
        const QString description = parts[i].trimmed();
        out << (description.isEmpty() ? QString() : description + u' ') + u'(' +
                   patterns.join(u' ') + u')';
    }
    return out;
}

QString QtDialogs::normalExtension(const QString& defaultExtension) {
    QString ext = defaultExtension.trimmed();
    while (ext.startsWith(u'*') || ext.startsWith(u'.'))
        ext.remove(0, 1);
    if (ext.contains(u'*') || ext.contains(u'?'))
        return QString();
    return ext;
}

QString QtDialogs::withDefaultExtension(const QString& path, const QString& defaultExtension) {
    const QString ext = normalExtension(defaultExtension);
    if (path.isEmpty() || ext.isEmpty())
        return path;
    const QString name = QFileInfo(path).fileName();
    if (name.contains(u'.') && !name.endsWith(u'.'))
        return path;
    return name.endsWith(u'.') ? path + ext : path + u'.' + ext;
}

int QtDialogs::messageBox(QWidget* owner, const QString& text, const QString& caption,
                          MessageIcon icon, int buttons) {
    if ((buttons & (Ok | Cancel | Yes | No)) == 0)
        buttons = Ok;
    QMessageBox box(toQtIcon(icon), caption, text, QMessageBox::NoButton, owner);
    box.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    QPushButton* first = nullptr;
    for (const ButtonMap& b : kButtons) {
        if (!(buttons & b.ours))
            continue;
        QPushButton* button = box.addButton(b.qt);
        button->setText(QString::fromUtf16(b.text));
        if (!first)
            first = button;
    }
    box.setDefaultButton(first);
    // Escape (and the close box) answer Cancel, else No, else OK, as the system boxes do.
    const MessageButton escape = (buttons & Cancel) ? Cancel : (buttons & No) ? No : Ok;
    for (const ButtonMap& b : kButtons)
        if (b.ours == escape)
            box.setEscapeButton(box.button(b.qt));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const ButtonMap& b : kButtons)
        if (clicked && clicked == box.button(b.qt))
            return b.ours;
    return escape;
}

FileChoice QtDialogs::chooseOpenFile(QWidget* owner, const QString& filter,
                                     const QString& defaultExtension) {
    const QStringList filters = toQtFilters(filter);
    QFileDialog dialog(owner, QStringLiteral("打开"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    // A typed name without extension is looked up with the default extension.
    dialog.setDefaultSuffix(normalExtension(defaultExtension));
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    const int index = selectedIndex(filters, dialog.selectedNameFilter());
    if (!chosen)
        return FileChoice{QString(), index};
    QString path = dialog.selectedFiles().first();
    if (!QFileInfo::exists(path))
        path = withDefaultExtension(path, defaultExtension);
    return FileChoice{path, index};
}

QString QtDialogs::openFile(QWidget* owner, const QString& filter,
                            const QString& defaultExtension) {
    return chooseOpenFile(owner, filter, defaultExtension).path;
}

QString QtDialogs::saveFile(QWidget* owner, const QString& filter, const QString& defaultExtension,
                            const QString& proposedName) {
    const QStringList filters = toQtFilters(filter);
    QFileDialog dialog(owner, QStringLiteral("另存为"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    dialog.setDefaultSuffix(normalExtension(defaultExtension));
    // No starting folder is set: the proposed name is taken in the dialog's own folder.
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return withDefaultExtension(dialog.selectedFiles().first(), defaultExtension);
}

} // namespace tx
