#include "core/Variant.h"

#include "core/StepRow.h"

#include <QtGlobal>

namespace marten {
namespace {

// The screens translate these keys in their own contexts.
constexpr const char* kFullInstructions[] = {
    QT_TRANSLATE_NOOP("marten::HowToUseView", "Press the Right Command key (⌘)"),
    QT_TRANSLATE_NOOP("marten::HowToUseView", "Speak"),
    QT_TRANSLATE_NOOP("marten::HowToUseView", "Release"),
    QT_TRANSLATE_NOOP("marten::HowToUseView", "Marten prints text wherever your cursor is"),
};
constexpr const char* kSimpleInstructions[] = {
    QT_TRANSLATE_NOOP("marten::HowToUseView", "Hold the Right Command key"),
    QT_TRANSLATE_NOOP("marten::HowToUseView", "Speak your message"),
    QT_TRANSLATE_NOOP("marten::HowToUseView", "Release to insert text"),
};

constexpr VariantTraits kFull{
    .variant = Variant::Full,
    .programName = "MartenOnboarding",
    .desktopEntry = "com.marten.Onboarding",
    .tokenMustBeNonEmptyString = true,
    .registersLaunchAtLogin = true,
    .floatingWindow = false,
    .animatedLoadingView = true,
    .signInViaMainApp = true,
    .skipsStepsWhenSubscribed = true,
    .stepButtonStyle = ButtonStyle::AlwaysBlue,
    .permissionStepButtonStyle = ButtonStyle::BorderedProminent,
    .primaryButtonStyle = ButtonStyle::AlwaysBlue,
    .permissions =
        {
            .shieldSymbol = false,
            .explanation = QT_TRANSLATE_NOOP(
                "marten::PermissionsView",
                "Marten needs Accessibility permission to type in your applications"),
            .typingCapability = QT_TRANSLATE_NOOP("marten::PermissionsView",
                                                  "Type transcribed text where your cursor is"),
        },
    .howToUse =
        {
            .instructions = kFullInstructions,
            .tip = QT_TRANSLATE_NOOP("marten::HowToUseView", "💡 Tip: Works anywhere you can type"),
            .secondaryTip = false,
        },
};

constexpr VariantTraits kSimple{
    .variant = Variant::Simple,
    .programName = "MartenOnboarding_Simple",
    .desktopEntry = "com.marten.OnboardingSimple",
    .tokenMustBeNonEmptyString = false,
    .registersLaunchAtLogin = false,
    .floatingWindow = true,
    .animatedLoadingView = false,
    .signInViaMainApp = false,
    .skipsStepsWhenSubscribed = false,
    .stepButtonStyle = ButtonStyle::BorderedProminent,
    .permissionStepButtonStyle = ButtonStyle::BorderedProminent,
    .primaryButtonStyle = ButtonStyle::BorderedProminent,
    .permissions =
        {
            .shieldSymbol = true,
            .explanation =
                QT_TRANSLATE_NOOP("marten::PermissionsView", "Marten needs permission to:"),
            .typingCapability = QT_TRANSLATE_NOOP("marten::PermissionsView",
                                                  "Type transcribed text at your cursor"),
        },
    .howToUse =
        {
            .instructions = kSimpleInstructions,
            .tip = QT_TRANSLATE_NOOP("marten::HowToUseView",
                                     "💡 Tip: Works in any app where you can type!"),
            .secondaryTip = true,
        },
};

} // namespace

const VariantTraits& traitsFor(Variant variant)
{
    return variant == Variant::Full ? kFull : kSimple;
}

std::optional<StepButtonChoice> stepButtonFor(const VariantTraits& traits, const StepRow& step,
                                              bool isLastStep, bool inputAccessGranted)
{
    ButtonStyle style = traits.stepButtonStyle;
    switch (step.button) {
    case StepButtonRule::none:
        return std::nullopt;
    case StepButtonRule::nextIfGranted:
        if (!inputAccessGranted)
            return std::nullopt;
        style = traits.permissionStepButtonStyle;
        break;
    case StepButtonRule::next:
        break;
    }
    using Title = StepButtonChoice::Title;
    return StepButtonChoice{isLastStep ? Title::GetStarted : Title::Next, style, isLastStep};
}

} // namespace marten
