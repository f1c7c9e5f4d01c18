#include "screens/PermissionsView.h"

#include "core/InputAccessStep.h"
#include "core/OnboardingFlow.h"
#include "ui/Accessibility.h"
#include "ui/Buttons.h"
#include "ui/Card.h"
#include "ui/Spinner.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace marten {
namespace {

constexpr int kCapabilitySpacing = 12;
constexpr int kButtonLabelWidth = 200;
constexpr int kSpinnerBox = 32;      // the spinner's own size, which the row keeps
constexpr int kSpinnerDiameter = 26; // drawn at 0.8 of it
constexpr int kRowSpacing = 8;
// How far the blue button's shadow reaches past it, at most (blur plus the 4 px drop).
constexpr int kShadowReach = 18;

} // namespace

PermissionsView::PermissionsView(const ScreenContext& context, QWidget* parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("permissionsView"));
    const auto& texts = m_context.traits.permissions;

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(theme::screenSpacing);

    if (texts.shieldSymbol) {
        m_shield = new QLabel(this);
        m_shield->setObjectName(QStringLiteral("shieldSymbol"));
        m_shield->setAlignment(Qt::AlignCenter);
        column->addWidget(m_shield, 0, Qt::AlignHCenter);
    }

    // Texts take the column's whole width and centre their lines inside it, so a text that
    // wraps gets the height it needs.
    QLabel* title = theme::textLabel(tr("Accessibility Permission"), theme::TextStyle::LargeTitle,
                                     this, QFont::Bold);
    title->setObjectName(QStringLiteral("permissionsTitle"));
    column->addWidget(title);

    QLabel* explanation = theme::textLabel(tr(texts.explanation), theme::TextStyle::Title3, this);
    explanation->setObjectName(QStringLiteral("permissionsExplanation"));
    column->addWidget(explanation);

    Card* capabilities = buildCapabilities();
    column->addWidget(capabilities, 0, Qt::AlignHCenter);
    QStringList explained{explanation->text()};
    for (const QWidget* item : capabilities->findChildren<QWidget*>(QStringLiteral("capability")))
        explained << item->accessibleName();
    a11y::describeStep(this, title->text(), explained.join(QLatin1Char('\n')));

    m_openButton =
        new StyledButton(m_context.traits.primaryButtonStyle, tr("Open System Settings"), this);
    m_openButton->setObjectName(QStringLiteral("openSettingsButton"));
    m_openButton->setSymbol(QStringLiteral("gear"));
    m_openButton->setMinimumLabelWidth(kButtonLabelWidth);
    connect(m_openButton, &QAbstractButton::clicked, this, &PermissionsView::openHelpRequested);
    connect(this, &PermissionsView::openHelpRequested, &m_context.flow,
            &OnboardingFlow::requestInputAccessHelp);
    column->addWidget(m_openButton, 0, Qt::AlignHCenter);

    m_grantedLabel =
        theme::iconLabel(QStringLiteral("checkmark.circle.fill"), tr("Permission Granted!"),
                         theme::TextStyle::Headline, theme::green(), this);
    m_grantedLabel->setObjectName(QStringLiteral("grantedLabel"));
    m_grantedLabel->setAccessibleName(tr("Permission Granted!"));
    column->addWidget(m_grantedLabel, 0, Qt::AlignHCenter);

    m_checkingRow = buildCheckingRow();
    column->addWidget(m_checkingRow, 0, Qt::AlignHCenter);

    // Shows the state the flow holds, from now on.
    const InputAccessStep& access = m_context.flow.inputAccessStep();
    const auto follow = [this, &access] { showAccess(access.isGranted(), access.isChecking()); };
    follow();
    connect(&access, &InputAccessStep::stateChanged, this, follow);
}

Card* PermissionsView::buildCapabilities()
{
    auto* capabilities = new Card(theme::gray(), theme::cardRadius, this);
    capabilities->setObjectName(QStringLiteral("capabilitiesCard"));
    capabilities->contentLayout()->setSpacing(kCapabilitySpacing);
    const QString typeText = tr(m_context.traits.permissions.typingCapability);
    const std::pair<QString, QString> items[] = {
        {QStringLiteral("keyboard"), tr("Detect when you press Right Command")},
        {QStringLiteral("text.cursor"), typeText},
    };
    for (const auto& [symbolName, label] : items) {
        QWidget* item =
            theme::iconLabel(symbolName, label, theme::TextStyle::Body, QColor(), capabilities);
        item->setObjectName(QStringLiteral("capability"));
        item->setAccessibleName(label);
        capabilities->contentLayout()->addWidget(item, 0, Qt::AlignLeft);
    }
    return capabilities;
}

QWidget* PermissionsView::buildCheckingRow()
{
    auto* checkingRow = new QWidget(this);
    checkingRow->setObjectName(QStringLiteral("checkingRow"));
    auto* row = new QHBoxLayout(checkingRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kRowSpacing);
    // The spinner is drawn smaller but keeps its full size in the row.
    auto* spinnerBox = new QWidget(checkingRow);
    spinnerBox->setFixedSize(kSpinnerBox, kSpinnerBox);
    auto* spinnerLayout = new QVBoxLayout(spinnerBox);
    spinnerLayout->setContentsMargins(0, 0, 0, 0);
    spinnerLayout->addWidget(new Spinner(kSpinnerDiameter, spinnerBox), 0, Qt::AlignCenter);
    row->addWidget(spinnerBox, 0, Qt::AlignVCenter);
    QLabel* checking = theme::textLabel(tr("Checking permission..."), theme::TextStyle::Caption,
                                        checkingRow, QFont::Normal, theme::secondaryLabel());
    checking->setWordWrap(false);
    row->addWidget(checking, 0, Qt::AlignVCenter);
    return checkingRow;
}

void PermissionsView::showAccess(bool granted, bool checking)
{
    if (granted && !m_permissionGranted && isVisible())
        a11y::announce(this, tr("Permission Granted!"));
    m_permissionGranted = granted;
    m_isChecking = checking;
    refresh();
}

void PermissionsView::refresh()
{
    if (m_shield) {
        m_shield->setPixmap(theme::symbol(m_permissionGranted ? QStringLiteral("lock.shield.fill")
                                                              : QStringLiteral("lock.shield"),
                                          theme::heroSymbolSize,
                                          m_permissionGranted ? theme::green() : theme::orange(),
                                          devicePixelRatioF()));
        m_shield->setAccessibleName(m_permissionGranted ? tr("Permission granted")
                                                        : tr("Permission needed"));
    }
    m_openButton->setVisible(!m_permissionGranted);
    // The button may be the screen's last row: leave its shadow room inside the screen, as
    // much above as below so that the centred screen does not move.
    const int room =
        m_openButton->style() == ButtonStyle::AlwaysBlue && !m_permissionGranted ? kShadowReach : 0;
    layout()->setContentsMargins(0, room, 0, room);
    m_grantedLabel->setVisible(m_permissionGranted);
    m_checkingRow->setVisible(m_isChecking && !m_permissionGranted);
}

} // namespace marten
