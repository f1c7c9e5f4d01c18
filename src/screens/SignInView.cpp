#include "screens/SignInView.h"

#include "core/OnboardingFlow.h"
#include "ui/Accessibility.h"
#include "ui/Alert.h"
#include "ui/Buttons.h"
#include "ui/Card.h"
#include "ui/Divider.h"
#include "ui/EmailLineEdit.h"
#include "ui/IconLabel.h"
#include "ui/MartenSocialButton.h"
#include "ui/OutlinedField.h"
#include "ui/Padding.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace marten {
namespace {

constexpr int kSideInset = 56;
constexpr int kFullSpacing = 9;
constexpr int kTopSpacerMin = 24;
constexpr int kHeadingTopPadding = 16;
constexpr int kEmailSpacing = 7;
constexpr int kSkipTopPadding = 4;

} // namespace

SignInView::SignInView(const ScreenContext& context, QWidget* parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("signInView"));
    // Its spacers take whatever height the flow gives the step.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    connect(this, &SignInView::skipRequested, &m_context.flow, &OnboardingFlow::nextStep);
    connect(this, &SignInView::signInRequested, &m_context.flow, &OnboardingFlow::requestSignIn);

    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, theme::white());
    setPalette(pal);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kFullSpacing);
    // The two flexible spacers share the spare height; the upper one keeps at least 24 px.
    // A box layout puts no spacing next to a spacer, so the stack's 9 px are added by hand.
    layout->addSpacerItem(
        new QSpacerItem(0, kTopSpacerMin, QSizePolicy::Minimum, QSizePolicy::MinimumExpanding));
    layout->setStretch(0, 1);
    layout->addSpacing(kFullSpacing);

    QLabel* heading = theme::textLabel(tr("Sign up or log in"), theme::TextStyle::Body, this,
                                       QFont::Bold, theme::black());
    heading->setFont(theme::systemFont(23, QFont::Bold));
    heading->setObjectName(QStringLiteral("heading"));
    layout->addWidget(padded(heading, this, {0, kHeadingTopPadding, 0, 0}));
    a11y::describeStep(this, heading->text(), QString());

    layout->addWidget(buildSocialButtons());

    layout->addWidget(padded(new Divider, this, {kSideInset, 0, kSideInset, 0}));

    layout->addWidget(buildEmailBlock());

    auto* cont = new StyledButton(ButtonStyle::AlwaysBlue, tr("Continue"), this);
    cont->setObjectName(QStringLiteral("continueButton"));
    cont->setLabelFont(theme::systemFont(13, QFont::DemiBold));
    cont->setStretchLabel(true);
    connect(cont, &QAbstractButton::clicked, this, [this] { showComingSoon(); });
    // Inset by a layout rather than a box, which would cut the button's shadow off.
    auto* contRow = new QHBoxLayout;
    contRow->setContentsMargins(kSideInset, 0, kSideInset, 0);
    contRow->addWidget(cont);
    layout->addLayout(contRow);

    StyledButton* skip = skipButton(tr("Skip for now"), this);
    connect(skip, &QAbstractButton::clicked, this, &SignInView::skipRequested);
    layout->addWidget(padded(skip, this, {0, kSkipTopPadding, 0, 0}, Qt::AlignHCenter));

    layout->addSpacing(kFullSpacing);
    layout->addStretch(1);
}

QWidget* SignInView::buildSocialButtons()
{
    auto* social = new QWidget(this);
    social->setObjectName(QStringLiteral("socialButtons"));
    auto* socialLayout = new QVBoxLayout(social);
    socialLayout->setContentsMargins(kSideInset, 0, kSideInset, 0);
    socialLayout->setSpacing(kFullSpacing);
    const AssetPaths& assets = m_context.platform.assets;
    auto comingSoon = [this] { showComingSoon(); };
    auto* google =
        new MartenSocialButton(tr("Continue with Google"),
                               IconKind::asset(QStringLiteral("logo-google.png")), assets, social);
    google->setObjectName(QStringLiteral("continueWithGoogleButton"));
    connect(google, &QAbstractButton::clicked, this, &SignInView::signInRequested);
    auto* facebook = new MartenSocialButton(tr("Continue with Facebook"),
                                            IconKind::asset(QStringLiteral("logo-facebook.png")),
                                            assets, social);
    facebook->setObjectName(QStringLiteral("continueWithFacebookButton"));
    connect(facebook, &QAbstractButton::clicked, this, comingSoon);
    auto* apple = new MartenSocialButton(
        tr("Continue with Apple"), IconKind::system(QStringLiteral("applelogo")), assets, social);
    apple->setObjectName(QStringLiteral("continueWithAppleButton"));
    connect(apple, &QAbstractButton::clicked, this, comingSoon);
    for (MartenSocialButton* button : {google, facebook, apple})
        socialLayout->addWidget(button);
    return social;
}

QWidget* SignInView::buildEmailBlock()
{
    auto* email = new QWidget(this);
    email->setObjectName(QStringLiteral("emailBlock"));
    auto* emailLayout = new QVBoxLayout(email);
    emailLayout->setContentsMargins(kSideInset, 0, kSideInset, 0);
    emailLayout->setSpacing(kEmailSpacing);
    QLabel* emailLabel = theme::textLabel(tr("Email or username"), theme::TextStyle::Body, email,
                                          QFont::Medium, theme::black());
    emailLabel->setFont(theme::systemFont(12, QFont::Medium));
    emailLabel->setObjectName(QStringLiteral("emailLabel"));
    emailLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    emailLabel->setWordWrap(false);
    auto* edit = new EmailLineEdit(email);
    edit->setObjectName(QStringLiteral("emailField"));
    edit->setPlaceholderText(tr("Email or username"));
    edit->setAccessibleName(tr("Email or username"));
    edit->setFrame(false);
    edit->setTextMargins(0, 0, 0, 0);
    // A user name: no correction, prediction or capitalisation by input methods.
    edit->setInputMethodHints(Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase |
                              Qt::ImhSensitiveData);
    edit->setCompleter(nullptr);
    emailLabel->setBuddy(edit);
    emailLayout->addWidget(emailLabel);
    emailLayout->addWidget(new OutlinedField(edit, email));
    return email;
}

void SignInView::showComingSoon()
{
    // The alert is modal, so a second request while it is up cannot come from the user.
    if (m_showComingSoon)
        return;
    auto* alert =
        new Alert(tr("Coming soon"), tr("This action will be enabled shortly."), tr("OK"), this);
    alert->setObjectName(QStringLiteral("comingSoonAlert"));
    connect(alert, &Alert::dismissed, this, [this] { m_showComingSoon = false; });
    m_alert = alert;
    m_showComingSoon = true;
    alert->open();
}

} // namespace marten
