#pragma once

#include "core/FTUEStep.h"

#include <optional>

namespace marten {

enum class Variant { Full, Simple };

// How a button is drawn; the widgets that draw them live in the ui layer.
enum class ButtonStyle {
    AlwaysBlue,        // accent capsule, white label, soft accent shadow
    BorderedProminent, // filled rounded button in the accent colour, white label, 13 px text
    Plain,             // text only, no background or border
};

// Everything that differs between the two programs, in one table.
struct VariantTraits {
    Variant variant;
    bool tokenMustBeNonEmptyString; // otherwise any value of the key counts
    bool registersLaunchAtLogin;
    bool floatingWindow;         // stays above other windows
    bool animatedLoadingView;    // GIF or microphone; otherwise a spinner
    bool signInViaMainApp;       // ask the main application; otherwise open the browser
    ButtonStyle stepButtonStyle; // "Next" / "Get Started"
    ButtonStyle permissionStepButtonStyle;
    ButtonStyle primaryButtonStyle; // the screens' own main buttons
};

const VariantTraits& traitsFor(Variant variant);

// Which button a step shows below it, and what pressing it does.
struct StepButtonChoice {
    enum class Title { Next, GetStarted };
    Title title;
    ButtonStyle style;
    bool completes; // completes onboarding instead of moving on
};

// The last step's button completes; every other step's moves on. The sign-in and purchase
// screens bring their own buttons, and the permission step offers "Next" only when input
// access is already there as the step is built.
std::optional<StepButtonChoice> stepButtonFor(const VariantTraits& traits, FTUEStep step,
                                              bool isLastStep, bool inputAccessGranted);

} // namespace marten
