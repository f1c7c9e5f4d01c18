#pragma once

#include "screens/ScreenContext.h"

#include <QWidget>

namespace marten {

// The purchase offer for a signed-in user without a subscription. It sells nothing itself:
// "Subscribe Now" and the skip button only report to the flow that they were pressed.
class PurchaseView final : public QWidget {
    Q_OBJECT
public:
    explicit PurchaseView(const ScreenContext& context, QWidget* parent = nullptr);

signals:
    void skipRequested();
    void purchaseRequested();
};

} // namespace marten
