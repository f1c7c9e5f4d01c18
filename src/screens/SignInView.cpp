#include "screens/SignInView.h"

#include "ui/Theme.h"

#include <QLabel>
#include <QVBoxLayout>

namespace marten {

SignInView::SignInView(const ScreenContext& context, Callback onSkip, Callback onSignIn,
                       QWidget* parent)
    : QWidget(parent), m_context(context), m_onSkip(std::move(onSkip)),
      m_onSignIn(std::move(onSignIn))
{
    setObjectName(QStringLiteral("signInView"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(theme::textLabel(QStringLiteral("SignInView"), theme::TextStyle::LargeTitle, this));
}

} // namespace marten
