#pragma once

#include <QFileInfo>
#include <QString>

namespace tx {

class ProgramPaths {
public:
    virtual ~ProgramPaths() = default;
    // Full path of the running executable.
    virtual QString executablePath() const = 0;

    // The program's folder, where its database, sounds, site pages and player live: the
    // executable's absolute folder, without a trailing separator. The one place that says so.
    QString programDir() const { return QFileInfo(executablePath()).absolutePath(); }

    // The executable's folder with its trailing separator: the path cut after its
    // last '/' (or '\'); empty when the path has no separator.
    QString folder() const {
        const QString path = executablePath();
        const qsizetype cut = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
        return cut < 0 ? QString() : path.left(cut + 1);
    }
};

} // namespace tx
