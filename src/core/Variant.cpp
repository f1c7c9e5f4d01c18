#include "core/Variant.h"

namespace marten {

const VariantTraits& traitsFor(Variant variant)
{
    static constexpr VariantTraits full{
        .variant = Variant::Full,
        .tokenMustBeNonEmptyString = true,
        .registersLaunchAtLogin = true,
        .floatingWindow = false,
        .animatedLoadingView = true,
        .signInViaMainApp = true,
        .stepButtonStyle = ButtonStyle::AlwaysBlue,
        .permissionStepButtonStyle = ButtonStyle::BorderedProminent,
        .primaryButtonStyle = ButtonStyle::AlwaysBlue,
    };
    static constexpr VariantTraits simple{
        .variant = Variant::Simple,
        .tokenMustBeNonEmptyString = false,
        .registersLaunchAtLogin = false,
        .floatingWindow = true,
        .animatedLoadingView = false,
        .signInViaMainApp = false,
        .stepButtonStyle = ButtonStyle::BorderedProminent,
        .permissionStepButtonStyle = ButtonStyle::BorderedProminent,
        .primaryButtonStyle = ButtonStyle::BorderedProminent,
    };
    return variant == Variant::Full ? full : simple;
}

std::optional<StepButtonChoice> stepButtonFor(const VariantTraits& traits, FTUEStep step,
                                              bool isLastStep, bool inputAccessGranted)
{
    if (step == FTUEStep::signIn || step == FTUEStep::purchase)
        return std::nullopt;
    ButtonStyle style = traits.stepButtonStyle;
    if (step == FTUEStep::permissions) {
        if (!inputAccessGranted)
            return std::nullopt;
        style = traits.permissionStepButtonStyle;
    }
    using Title = StepButtonChoice::Title;
    return StepButtonChoice{isLastStep ? Title::GetStarted : Title::Next, style, isLastStep};
}

} // namespace marten
