#include "screens/WelcomeView.h"

#include "ui/Theme.h"

#include <QLabel>
#include <QVBoxLayout>

namespace marten {

WelcomeView::WelcomeView(const ScreenContext& context, QWidget* parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("welcomeView"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(theme::textLabel(QStringLiteral("WelcomeView"), theme::TextStyle::LargeTitle, this));
}

} // namespace marten
