#include "ExecutableProgramPaths.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace tx {

QString ExecutableProgramPaths::executablePath() const {
    if (QCoreApplication::instance()) {
        const QString path = QCoreApplication::applicationFilePath();
        if (!path.isEmpty())
            return path;
    }
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

} // namespace tx
