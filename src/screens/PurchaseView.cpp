#include "screens/PurchaseView.h"

#include "ui/Theme.h"

#include <QLabel>
#include <QVBoxLayout>

namespace marten {

PurchaseView::PurchaseView(const ScreenContext& context, Callback onSkip, Callback onPurchase,
                           QWidget* parent)
    : QWidget(parent), m_context(context), m_onSkip(std::move(onSkip)),
      m_onPurchase(std::move(onPurchase))
{
    setObjectName(QStringLiteral("purchaseView"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(theme::textLabel(QStringLiteral("PurchaseView"), theme::TextStyle::LargeTitle, this));
}

} // namespace marten
