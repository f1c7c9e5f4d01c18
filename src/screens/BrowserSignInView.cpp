#include "screens/BrowserSignInView.h"

#include "core/OnboardingFlow.h"
#include "ui/Accessibility.h"
#include "ui/Buttons.h"
#include "ui/Card.h"
#include "ui/IconLabel.h"
#include "ui/Theme.h"

#include <QLabel>
#include <QVBoxLayout>

namespace marten {
namespace {

constexpr int kButtonSpacing = 16;
constexpr int kGoogleLabelMinWidth = 200;

} // namespace

BrowserSignInView::BrowserSignInView(const ScreenContext& context, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("signInView"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    connect(this, &BrowserSignInView::skipRequested, &context.flow, &OnboardingFlow::nextStep);
    connect(this, &BrowserSignInView::signInRequested, &context.flow,
            &OnboardingFlow::requestSignIn);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(theme::screenSpacing);
    layout->addStretch(1);

    layout->addItem(decorativeSymbol(QStringLiteral("person.crop.circle.badge.checkmark"),
                                     theme::heroSymbolSize, theme::green(), this));

    QLabel* title =
        theme::textLabel(tr("Sign In (Optional)"), theme::TextStyle::LargeTitle, this, QFont::Bold);
    title->setObjectName(QStringLiteral("title"));
    layout->addWidget(title);

    QLabel* subtitle =
        theme::textLabel(tr("Sign in to sync settings and track usage"), theme::TextStyle::Title3,
                         this, QFont::Normal, theme::secondaryLabel());
    subtitle->setObjectName(QStringLiteral("subtitle"));
    layout->addWidget(subtitle);

    auto* plan = new Card(theme::gray(), theme::cardRadius, this);
    plan->setObjectName(QStringLiteral("planCard"));
    QLabel* planText =
        theme::textLabel(tr("Free tier: 100 transcriptions/month\nPro: Unlimited transcriptions"),
                         theme::TextStyle::Caption, plan, QFont::Normal, theme::secondaryLabel());
    planText->setObjectName(QStringLiteral("planNote"));
    planText->setWordWrap(false);
    plan->contentLayout()->addWidget(planText);
    layout->addWidget(plan, 0, Qt::AlignHCenter);
    a11y::describeStep(this, title->text(),
                       subtitle->text() + QLatin1Char('\n') + planText->text());

    layout->addStretch(1);

    auto* buttons = new QWidget(this);
    buttons->setObjectName(QStringLiteral("buttons"));
    auto* buttonLayout = new QVBoxLayout(buttons);
    buttonLayout->setContentsMargins(0, 0, 0, 0);
    buttonLayout->setSpacing(kButtonSpacing);
    auto* google =
        new StyledButton(ButtonStyle::BorderedProminent, tr("Sign in with Google"), buttons);
    google->setObjectName(QStringLiteral("signInWithGoogleButton"));
    google->setSymbol(QStringLiteral("globe"));
    google->setMinimumLabelWidth(kGoogleLabelMinWidth);
    connect(google, &QAbstractButton::clicked, this, &BrowserSignInView::signInRequested);
    StyledButton* skip = skipButton(tr("Skip for now"), buttons);
    connect(skip, &QAbstractButton::clicked, this, &BrowserSignInView::skipRequested);
    buttonLayout->addWidget(google, 0, Qt::AlignHCenter);
    buttonLayout->addWidget(skip, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
}

} // namespace marten
