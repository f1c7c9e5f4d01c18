#pragma once

#include "screens/ScreenContext.h"

#include <QWidget>

namespace marten {

// The sign-in step where the browser signs in: a short explanation of the plans and one
// "Sign in with Google" button. The flow decides what a sign-in request does.
class BrowserSignInView final : public QWidget {
    Q_OBJECT
public:
    explicit BrowserSignInView(const ScreenContext& context, QWidget* parent = nullptr);

signals:
    void skipRequested();
    void signInRequested();
};

} // namespace marten
