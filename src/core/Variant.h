#pragma once

#include <optional>
#include <span>

namespace marten {

struct StepRow;

enum class Variant { Full, Simple };

// How a button is drawn; the widgets that draw them live in the ui layer.
enum class ButtonStyle {
    AlwaysBlue,        // accent capsule, white label, soft accent shadow
    BorderedProminent, // filled rounded button in the accent colour, white label, 13 px text
    Plain,             // text only, no background or border
};

// Everything that differs between the two programs, in one table. Texts are translation
// keys in the context of the screen that shows them.
struct VariantTraits {
    Variant variant;
    // The program's name (also its X11 window class, which its desktop entry names as
    // StartupWMClass) and its desktop entry's id.
    const char* programName;
    const char* desktopEntry;
    bool tokenMustBeNonEmptyString; // otherwise any value of the key counts
    bool registersLaunchAtLogin;
    bool floatingWindow;           // stays above other windows
    bool animatedLoadingView;      // GIF or microphone; otherwise a spinner
    bool signInViaMainApp;         // ask the main application; otherwise open the browser
    bool skipsStepsWhenSubscribed; // signed in and subscribed: no step, onboarding completes
    ButtonStyle stepButtonStyle;   // "Next" / "Get Started"
    ButtonStyle permissionStepButtonStyle;
    ButtonStyle primaryButtonStyle; // the screens' own main buttons

    struct {
        bool shieldSymbol; // a shield above the heading, orange until access is granted
        const char* explanation;
        const char* typingCapability;
    } permissions;
    struct {
        std::span<const char* const> instructions; // numbered in order
        const char* tip;
        bool secondaryTip; // the tip in the secondary text colour rather than black
    } howToUse;
};

const VariantTraits& traitsFor(Variant variant);

// Which button a step shows below it, and what pressing it does.
struct StepButtonChoice {
    enum class Title { Next, GetStarted };
    Title title;
    ButtonStyle style;
    bool completes; // completes onboarding instead of moving on
};

// The step's own rule, in the program's style: the last step's button completes, every other
// step's moves on.
std::optional<StepButtonChoice> stepButtonFor(const VariantTraits& traits, const StepRow& step,
                                              bool isLastStep, bool inputAccessGranted);

} // namespace marten
