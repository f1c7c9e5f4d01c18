#pragma once

#include "screens/ScreenContext.h"

#include <QWidget>

namespace marten {

// The purchase offer for a signed-in user without a subscription. It sells nothing itself:
// "Subscribe Now" runs onPurchase and the skip button runs onSkip.
class PurchaseView final : public QWidget {
    Q_OBJECT
public:
    PurchaseView(const ScreenContext& context, Callback onSkip, Callback onPurchase,
                 QWidget* parent = nullptr);

private:
    ScreenContext m_context;
    Callback m_onSkip;
    Callback m_onPurchase;
};

} // namespace marten
