#pragma once

#include <QString>

namespace tx {

class SoundService;
class Clock;
class Dialogs;
class RegistryStore;
class BrowserFactory;
class ExternalBrowser;
class ProgramPaths;
class Tdm;

// Program-wide variables shared between the windows.
struct ProgramState {
    int rotationCounter = 0;
    QString CurrentLinkAddress;
    QString CurrentSoundFile;
    QString CurrentCoursewareAddress;
    int blinkCounter = 0;
    QString nameUnderModification;
    // The recipe handed to the recipe editor for modification.
    QString OriginalRecipeName;
};

// The platform services, filled by main() and replaced by tests. Not owned.
struct Services {
    SoundService* sound = nullptr;
    Clock* clock = nullptr;
    Dialogs* dialogs = nullptr;
    RegistryStore* registry = nullptr;
    BrowserFactory* browsers = nullptr;
    ExternalBrowser* externalBrowser = nullptr;
    ProgramPaths* paths = nullptr;
    // The data module "dm" that every window borrows; set once it is connected.
    Tdm* dm = nullptr;
    ProgramState state;
};

} // namespace tx
