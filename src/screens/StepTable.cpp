#include "screens/StepTable.h"

#include "screens/BrowserSignInView.h"
#include "screens/HowToUseView.h"
#include "screens/PermissionsView.h"
#include "screens/PurchaseView.h"
#include "screens/SignInView.h"
#include "screens/TestItView.h"
#include "screens/WelcomeView.h"

namespace marten {
namespace {

template <typename Screen> QWidget* make(const ScreenContext& context, QWidget* parent)
{
    return new Screen(context, parent);
}

// The main application signs in with a choice of accounts; the browser with Google alone.
QWidget* makeSignIn(const ScreenContext& context, QWidget* parent)
{
    if (context.traits.signInViaMainApp)
        return new SignInView(context, parent);
    return new BrowserSignInView(context, parent);
}

using enum StepNeed;
using enum StepButtonRule;

// Each row: the step's name, how its screen is made, its place in each program (ascending;
// 0 or none: not in that program; the gaps leave room for new steps), why it is shown
// (StepNeed) and its button (StepButtonRule).
// clang-format off
constexpr StepRow kSteps[] = {
    {"welcome",     make<WelcomeView>,     {.full = 10, .simple = 10}, always,       next},
    {"permissions", make<PermissionsView>, {.full = 20, .simple = 20}, inputAccess,  nextIfGranted},
    {"signIn",      makeSignIn,            {.full = 30, .simple = 50}, signIn,       none},
    {"purchase",    make<PurchaseView>,    {.full = 35},               subscription, none},
    {"howToUse",    make<HowToUseView>,    {.full = 40, .simple = 40}, always,       next},
    {"testIt",      make<TestItView>,      {.simple = 60},             always,       next},
};
// clang-format on

} // namespace

StepTable onboardingSteps()
{
    return kSteps;
}

} // namespace marten
