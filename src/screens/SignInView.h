#pragma once

#include "screens/ScreenContext.h"

#include <QWidget>

namespace marten {

class SignInView final : public QWidget {
    Q_OBJECT
public:
    SignInView(const ScreenContext& context, Callback onSkip, Callback onSignIn, QWidget* parent = nullptr);

private:
    ScreenContext m_context;
    Callback m_onSkip;
    Callback m_onSignIn;
};

} // namespace marten
