#pragma once

#include "screens/ScreenContext.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

namespace marten {

// The sign-in step. Full program: three social buttons (only Google starts a sign-in), an
// email field and "Continue"; everything but Google answers with a "Coming soon" alert.
// Simple program: a short explanation and one "Sign in with Google" button.
class SignInView final : public QWidget {
    Q_OBJECT
public:
    SignInView(const ScreenContext& context, Callback onSkip, Callback onSignIn,
               QWidget* parent = nullptr);

    // Full program only: whether the "Coming soon" alert is up, and the alert itself.
    bool isShowingComingSoon() const { return m_showComingSoon; }
    QDialog* comingSoonAlert() const { return m_alert; }

private:
    void buildFull();
    void buildSimple();
    void showComingSoon();

    ScreenContext m_context;
    Callback m_onSkip;
    Callback m_onSignIn;
    bool m_showComingSoon = false;
    QPointer<QDialog> m_alert;
};

} // namespace marten
