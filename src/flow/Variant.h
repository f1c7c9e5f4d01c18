#pragma once

#include "ui/Buttons.h"

namespace marten {

enum class Variant { Full, Simple };

// Everything that differs between the two programs, in one table.
struct VariantTraits {
    Variant variant;
    bool checksSubscription;        // signed in and subscribed ends onboarding at once
    bool tokenMustBeNonEmptyString; // otherwise any value of the key counts
    bool registersLaunchAtLogin;
    bool floatingWindow;         // stays above other windows
    bool blackScreenText;        // screens set black on their texts explicitly
    bool animatedLoadingView;    // GIF or microphone; otherwise a spinner
    bool signInViaMainApp;       // ask the main application; otherwise open the browser
    ButtonStyle stepButtonStyle; // the style of "Next" / "Get Started" (but see permissions)
};

const VariantTraits& traitsFor(Variant variant);

} // namespace marten
