#include "screens/GrantAccessRow.h"

#include "ui/Accessibility.h"
#include "ui/Buttons.h"
#include "ui/Spinner.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>

#include <utility>

namespace marten {
namespace {

using namespace std::chrono_literals;

constexpr int kButtonLabelWidth = 120;
constexpr int kSpinnerDiameter = 18;
constexpr int kSpacing = 12;
// The helper has re-applied the rule by the time it exits, and logind hands out the ACL at
// once in a local session: a grant still unseen after this long will not come by itself.
constexpr auto kSessionPickUp = 5s;

} // namespace

GrantAccessRow::GrantAccessRow(Scheduler& scheduler, InputAccessGranter& granter, QWidget* parent)
    : QWidget(parent), m_scheduler(scheduler)
{
    setObjectName(QStringLiteral("grantRow"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(kSpacing);

    m_button = new StyledButton(ButtonStyle::BorderedProminent, tr("Grant Access"), this);
    m_button->setObjectName(QStringLiteral("grantAccessButton"));
    m_button->setAccessibleName(tr("Grant Access"));
    m_button->setMinimumLabelWidth(kButtonLabelWidth);
    connect(m_button, &QAbstractButton::clicked, &granter, &InputAccessGranter::start);
    row->addWidget(m_button, 0, Qt::AlignVCenter);

    m_spinner = new Spinner(kSpinnerDiameter, this);
    m_spinner->setObjectName(QStringLiteral("grantSpinner"));
    m_spinner->hide();
    row->addWidget(m_spinner, 0, Qt::AlignVCenter);

    m_status = theme::textLabel(QString(), theme::TextStyle::Body, this, QFont::Normal,
                                theme::secondaryLabel());
    m_status->setObjectName(QStringLiteral("grantStatus"));
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Selectable, so a failure's reason can be copied; until there is one, the empty label
    // takes no focus and so is no unnamed control for screen readers.
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setFocusPolicy(Qt::NoFocus);
    row->addWidget(m_status, 1);

    connect(&granter, &InputAccessGranter::started, this, &GrantAccessRow::showWaiting);
    connect(&granter, &InputAccessGranter::finished, this, &GrantAccessRow::onFinished);
    if (granter.isRunning())
        showWaiting();
}

void GrantAccessRow::showWaiting()
{
    // Disabling the button moves the keyboard focus on; it comes back when the run ends.
    m_focusBack = m_button->hasFocus();
    m_button->setEnabled(false);
    m_spinner->show();
    showStatus(tr("Waiting for your approval..."), theme::secondaryLabel());
}

void GrantAccessRow::onFinished(InputAccessGranter::Outcome outcome, const QString& detail)
{
    using Outcome = InputAccessGranter::Outcome;
    m_spinner->hide();
    m_button->setEnabled(true);
    if (std::exchange(m_focusBack, false) && outcome != Outcome::Granted)
        m_button->setFocus(Qt::OtherFocusReason);
    switch (outcome) {
    case Outcome::Granted:
        m_button->hide();
        showStatus(tr("Access granted."), theme::green());
        // The flow watches for the login to have the access, and the panel closes then. If it
        // never does, this session is not given device access by itself (a remote one, or one
        // without logind).
        m_scheduler.cancel(m_sessionCheck);
        m_sessionCheck = m_scheduler.after(kSessionPickUp, this, [this] {
            showStatus(tr("Access is granted, but this session has not picked it up yet. Log "
                          "out and back in to complete it."),
                       theme::black());
        });
        return;
    case Outcome::Dismissed:
        showStatus(tr("Nothing was changed."), theme::secondaryLabel());
        return;
    case Outcome::NotAuthorised:
        showStatus(tr("Your account may not make this change. An administrator must do it, "
                      "with the commands below."),
                   theme::black());
        return;
    case Outcome::Stopped:
        showStatus(tr("The grant was stopped before it finished. Try again, or use the "
                      "commands below."),
                   theme::red());
        return;
    case Outcome::Failed:
        showStatus(detail.isEmpty() ? tr("Input access could not be granted.") : detail,
                   theme::red());
        return;
    }
}

void GrantAccessRow::showStatus(const QString& text, const QColor& colour)
{
    m_status->setText(text);
    m_status->setAccessibleName(text);
    m_status->setFocusPolicy(text.isEmpty() ? Qt::NoFocus : Qt::ClickFocus);
    a11y::announce(this, text);
    QPalette pal = m_status->palette();
    pal.setColor(QPalette::WindowText, colour);
    m_status->setPalette(pal);
    emit statusChanged();
}

} // namespace marten
