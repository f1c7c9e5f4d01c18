#include "screens/PurchaseView.h"

#include "core/OnboardingFlow.h"
#include "ui/Accessibility.h"
#include "ui/Buttons.h"
#include "ui/Card.h"
#include "ui/Theme.h"

#include <QLabel>
#include <QVBoxLayout>

namespace marten {
namespace {
constexpr int kPriceSpacing = 12;
constexpr int kPriceRadius = 12;
constexpr int kButtonSpacing = 16;
constexpr int kSubscribeLabelMinWidth = 200;
} // namespace

PurchaseView::PurchaseView(const ScreenContext& context, QWidget* parent) : QWidget(parent)
{
    connect(this, &PurchaseView::skipRequested, &context.flow, &OnboardingFlow::nextStep);
    connect(this, &PurchaseView::purchaseRequested, &context.flow,
            &OnboardingFlow::requestPurchase);
    setObjectName(QStringLiteral("purchaseView"));
    // Its spacers take whatever height the flow gives the step.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(theme::screenSpacing);
    layout->addStretch(1);

    QLabel* title = theme::textLabel(tr("Upgrade to Pro"), theme::TextStyle::LargeTitle, this,
                                     QFont::Bold, theme::black());
    title->setObjectName(QStringLiteral("title"));
    layout->addWidget(title);

    QLabel* subtitle =
        theme::textLabel(tr("Unlimited voice transcriptions"), theme::TextStyle::Title3, this,
                         QFont::Normal, theme::secondaryLabel());
    subtitle->setObjectName(QStringLiteral("subtitle"));
    layout->addWidget(subtitle);

    auto* price = new Card(theme::yellow(), kPriceRadius, this);
    price->setObjectName(QStringLiteral("priceCard"));
    price->contentLayout()->setSpacing(kPriceSpacing);
    QLabel* amount = theme::textLabel(tr("$3 per week"), theme::TextStyle::Title, price,
                                      QFont::Bold, theme::black());
    amount->setObjectName(QStringLiteral("price"));
    amount->setWordWrap(false);
    QLabel* billing = theme::textLabel(tr("Billed every 4 weeks"), theme::TextStyle::Caption, price,
                                       QFont::Normal, theme::secondaryLabel());
    billing->setObjectName(QStringLiteral("billing"));
    billing->setWordWrap(false);
    a11y::describeStep(
        this, title->text(),
        QStringList{subtitle->text(), amount->text(), billing->text()}.join(QLatin1Char('\n')));
    price->contentLayout()->addWidget(amount, 0, Qt::AlignHCenter);
    price->contentLayout()->addWidget(billing, 0, Qt::AlignHCenter);
    layout->addWidget(price, 0, Qt::AlignHCenter);

    layout->addStretch(1);

    // A layout, not a box of its own: the button's shadow spills past it unclipped.
    auto* buttonLayout = new QVBoxLayout;
    buttonLayout->setSpacing(kButtonSpacing);
    auto* subscribe = new StyledButton(ButtonStyle::AlwaysBlue, tr("Subscribe Now"), this);
    subscribe->setObjectName(QStringLiteral("subscribeButton"));
    subscribe->setSymbol(QStringLiteral("creditcard"));
    subscribe->setMinimumLabelWidth(kSubscribeLabelMinWidth);
    connect(subscribe, &QAbstractButton::clicked, this, &PurchaseView::purchaseRequested);
    StyledButton* skip = skipButton(tr("Skip for now (15 free uses)"), this);
    connect(skip, &QAbstractButton::clicked, this, &PurchaseView::skipRequested);
    buttonLayout->addWidget(subscribe, 0, Qt::AlignHCenter);
    buttonLayout->addWidget(skip, 0, Qt::AlignHCenter);
    layout->addLayout(buttonLayout);
}

} // namespace marten
