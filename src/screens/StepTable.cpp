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

// A step's place orders it within each program (0: not in it); the numbers leave room for
// new steps in between.
constexpr StepRow kSteps[] = {
    {"welcome", make<WelcomeView>, {.full = 10, .simple = 10}, always, next},
    {"permissions",
     make<PermissionsView>,
     {.full = 20, .simple = 20},
     inputAccess,
     nextWhenGranted},
    {"signIn", makeSignIn, {.full = 30, .simple = 50}, signIn, none},
    {"purchase", make<PurchaseView>, {.full = 35}, subscription, none},
    {"howToUse", make<HowToUseView>, {.full = 40, .simple = 40}, always, next},
    {"testIt", make<TestItView>, {.simple = 60}, always, next},
};

} // namespace

StepTable onboardingSteps()
{
    return kSteps;
}

} // namespace marten
