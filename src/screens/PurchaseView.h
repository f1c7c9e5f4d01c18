#pragma once

#include "screens/ScreenContext.h"

#include <QWidget>

namespace marten {

class PurchaseView final : public QWidget {
    Q_OBJECT
public:
    PurchaseView(const ScreenContext& context, Callback onSkip, Callback onPurchase, QWidget* parent = nullptr);

private:
    ScreenContext m_context;
    Callback m_onSkip;
    Callback m_onPurchase;
};

} // namespace marten
