#pragma once

#include "ProgramPaths.h"

namespace tx {

// The running program: QCoreApplication::applicationFilePath(), or /proc/self/exe when
// no application object exists (or it cannot tell).
class ExecutableProgramPaths : public ProgramPaths {
public:
    QString executablePath() const override;
};

// A fixed executable path, for tests and for running the program from another folder.
class FixedProgramPaths : public ProgramPaths {
public:
    explicit FixedProgramPaths(QString executablePath) : path_(std::move(executablePath)) {}
    QString executablePath() const override { return path_; }
    void setExecutablePath(const QString& path) { path_ = path; }

private:
    QString path_;
};

} // namespace tx
