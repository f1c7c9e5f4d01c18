#include "screens/HowToUseView.h"

#include "ui/Theme.h"

#include <QLabel>
#include <QVBoxLayout>

namespace marten {

HowToUseView::HowToUseView(const ScreenContext& context, QWidget* parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("howToUseView"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(theme::textLabel(QStringLiteral("HowToUseView"), theme::TextStyle::LargeTitle, this));
}

} // namespace marten
