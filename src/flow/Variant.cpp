#include "flow/Variant.h"

namespace marten {

const VariantTraits& traitsFor(Variant variant)
{
    static constexpr VariantTraits full{
        .variant = Variant::Full,
        .checksSubscription = true,
        .tokenMustBeNonEmptyString = true,
        .registersLaunchAtLogin = true,
        .floatingWindow = false,
        .blackScreenText = true,
        .animatedLoadingView = true,
        .signInViaMainApp = true,
        .stepButtonStyle = ButtonStyle::AlwaysBlue,
    };
    static constexpr VariantTraits simple{
        .variant = Variant::Simple,
        .checksSubscription = false,
        .tokenMustBeNonEmptyString = false,
        .registersLaunchAtLogin = false,
        .floatingWindow = true,
        .blackScreenText = false,
        .animatedLoadingView = false,
        .signInViaMainApp = false,
        .stepButtonStyle = ButtonStyle::BorderedProminent,
    };
    return variant == Variant::Full ? full : simple;
}

} // namespace marten
