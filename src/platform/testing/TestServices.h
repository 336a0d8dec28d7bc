#pragma once

#include "platform/ExecutableProgramPaths.h"
#include "platform/Services.h"
#include "platform/testing/MemoryRegistryStore.h"
#include "platform/testing/RecordingBrowsers.h"
#include "platform/testing/RecordingSoundService.h"
#include "platform/testing/ScriptedDialogs.h"
#include "platform/testing/TestClock.h"

namespace tx {

// Every platform service as its test double, and a Services pointing at them. The
// program's folder defaults to /tmp/tongxue-test/ (executable "tongxue" in it).
struct TestServices {
    TestClock clock;
    RecordingSoundService sound{&clock};
    ScriptedDialogs dialogs;
    MemoryRegistryStore registry;
    RecordingBrowserFactory browsers;
    RecordingExternalBrowser externalBrowser;
    FixedProgramPaths paths{QStringLiteral("/tmp/tongxue-test/tongxue")};
    Services services;

    TestServices() {
        services.sound = &sound;
        services.clock = &clock;
        services.dialogs = &dialogs;
        services.registry = &registry;
        services.browsers = &browsers;
        services.externalBrowser = &externalBrowser;
        services.paths = &paths;
    }
    TestServices(const TestServices&) = delete;
    TestServices& operator=(const TestServices&) = delete;
};

} // namespace tx
