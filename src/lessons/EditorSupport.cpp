#include "EditorSupport.h"

#include "data/Tdm.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QToolButton>
#include <stdexcept>

namespace tx {

QToolButton* toolButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMinimumSize(70, 30);
    return button;
}

QPushButton* pushButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void warn(Services& services, QWidget* owner, const QString& text) {
    services.dialogs->messageBox(owner, text, QStringLiteral("注意"), MessageIcon::Warning,
                                 MessageButton::Ok);
}

void reportSaveFailure(Services& services, QWidget* owner, const QString& text) {
    services.dialogs->messageBox(owner, text, QStringLiteral("注意"), MessageIcon::Error,
                                 MessageButton::Ok);
}

bool confirmDelete(Services& services, QWidget* owner) {
    return services.dialogs->messageBox(
               owner, QStringLiteral("确定要进行删除操作吗?"), QStringLiteral("注意"),
               MessageIcon::Question, MessageButton::Yes | MessageButton::No) == MessageButton::Yes;
}

Tdm& dataModule(Services& services) {
    if (!services.dm)
        throw std::logic_error("the data module is not connected");
    return *services.dm;
}

QString programRelativePath(const QString& programFolder, const QString& path) {
    if (programFolder.isEmpty() || path.isEmpty() || !QFileInfo(path).isAbsolute())
        return path;
    const QString folder = QDir::cleanPath(QDir(programFolder).absolutePath());
    const QString file = QDir::cleanPath(path);
    if (!file.startsWith(folder + u'/'))
        return path;
    return file.mid(folder.size() + 1);
}

} // namespace tx
