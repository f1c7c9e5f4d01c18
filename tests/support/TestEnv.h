#pragma once

#include "app/OnboardingWindow.h"
#include "fakes/Fakes.h"
#include "support/CoreTestEnv.h"

#include <QApplication>

namespace marten::test {

// Installs the product's names and theme.
void prepareApplication(QApplication& app);

// How many pixels of `area` are within `tolerance` of `colour` (summed over red, green, blue).
int pixelsNear(const QImage& image, const QRect& area, const QColor& colour, int tolerance = 6);

// An onboarding window over fake services, shown and active, its steps decided: `ready`
// says it got there. The close button must be there before the decision, too.
struct OnboardingRun {
    explicit OnboardingRun(Variant variant, bool signedIn = false, bool inputAccess = false);
    fake::Services services;
    OnboardingWindow window;
    bool ready = false;
};

} // namespace marten::test

// Like QTEST_MAIN, with an isolated home and the product's theme installed.
#define MARTEN_TEST_MAIN(TestObject)                                                               \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        marten::test::IsolatedHome isolatedHome;                                                   \
        QApplication app(argc, argv);                                                              \
        marten::test::prepareApplication(app);                                                     \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
