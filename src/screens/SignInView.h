#pragma once

#include "screens/ScreenContext.h"
#include "ui/Alert.h"

#include <QPointer>
#include <QWidget>

namespace marten {

// The sign-in step where the main application signs in: three social buttons (only Google
// starts a sign-in), an email field and "Continue"; everything but Google answers with a
// "Coming soon" alert. The flow decides what a sign-in request does.
class SignInView final : public QWidget {
    Q_OBJECT
public:
    explicit SignInView(const ScreenContext& context, QWidget* parent = nullptr);

    // Whether the "Coming soon" alert is up, and the alert itself.
    bool isShowingComingSoon() const { return m_showComingSoon; }
    Alert* comingSoonAlert() const { return m_alert; }

signals:
    void skipRequested();
    void signInRequested();

private:
    QWidget* buildSocialButtons();
    QWidget* buildEmailBlock();
    void showComingSoon();

    ScreenContext m_context;
    bool m_showComingSoon = false;
    QPointer<Alert> m_alert;
};

} // namespace marten
