#pragma once

#include <QString>

namespace tx {

class ProgramPaths {
public:
    virtual ~ProgramPaths() = default;
    // Full path of the running executable.
    virtual QString executablePath() const = 0;
};

} // namespace tx
