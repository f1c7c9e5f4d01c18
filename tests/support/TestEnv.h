#pragma once

#include "app/OnboardingWindow.h"
#include "fakes/Fakes.h"
#include "support/CoreTestEnv.h"
#include "ui/Theme.h"

#include <QApplication>

namespace marten::test {

// A window over fake services; `ready`: shown, active, Close there, its steps decided.
struct OnboardingRun {
    explicit OnboardingRun(Variant variant, bool signedIn = false, bool inputAccess = false);
    fake::Services services;
    OnboardingWindow window;
    bool ready = false;
};

} // namespace marten::test

// Like QTEST_MAIN, with an isolated home and the product's names and theme installed.
#define MARTEN_TEST_MAIN(TestObject)                                                               \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        marten::test::IsolatedHome isolatedHome;                                                   \
        QApplication app(argc, argv);                                                              \
        app.setOrganizationName(QStringLiteral("Marten"));                                         \
        app.setApplicationName(QStringLiteral("Marten"));                                          \
        marten::theme::apply(app);                                                                 \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
