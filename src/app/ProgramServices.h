#pragma once

#include "platform/Services.h"

#include <memory>

namespace tx {

class TMainForm;

// The real platform services of a running program, owned for the whole run.
class ProgramServices {
public:
    ProgramServices();
    ~ProgramServices();
    Services& services() { return services_; }
    // Points the main window's module buttons at the windows that exist.
    void connectModules(TMainForm& mainForm);

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    Services services_;
};

} // namespace tx
