#pragma once

#include "Clipboard.h"
#include "Clock.h"
#include "InputBoxes.h"
#include "Launcher.h"
#include "MessageBoxes.h"
#include "OpenDialog.h"
#include "PictureDialogs.h"
#include "Randomness.h"
#include "SaveDialog.h"
#include "SettingsStore.h"

namespace platform {

// What the windows ask of the system, in one place; tests hand in scripted parts.
struct Platform {
    MessageBoxes& messages;
    InputBoxes& inputs;
    SaveDialog& saveDialog;
    SettingsStore& settings;
    Clipboard& clipboard;
    Launcher& launcher;
    Randomness& random;
    Clock& clock;
    PictureDialogs& pictureDialogs;
    OpenDialog& openDialog;
};

}  // namespace platform
