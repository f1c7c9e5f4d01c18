#include "screens/InputAccessPanel.h"

#include "core/platform/InputAccessGranter.h"
#include "screens/GrantAccessRow.h"
#include "screens/InputAccessCommands.h"
#include "ui/Buttons.h"
#include "ui/Spinner.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace marten {
namespace {

constexpr int kMaxSheetWidth = 700;
constexpr int kOuterMargin = 20;
// Above and below, less: a long translation needs the height more than the sheet its frame.
constexpr int kOuterMarginVertical = 10;
constexpr int kSheetPadding = 20;
constexpr int kSectionSpacing = 10;

QLabel* leftLabel(const QString& text, theme::TextStyle style, QWidget* parent,
                  QFont::Weight weight, const QColor& colour)
{
    QLabel* label = theme::textLabel(text, style, parent, weight, colour);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

} // namespace

InputAccessPanel::InputAccessPanel(Scheduler& scheduler, InputAccessGranter& granter, QWidget* host)
    : Overlay(QAccessible::Dialog, host), m_scheduler(scheduler)
{
    setObjectName(QStringLiteral("inputAccessPanel"));
    setAccessibleName(tr("Allow input access"));
    QWidget* sheet = this->sheet();
    sheet->setObjectName(QStringLiteral("inputAccessSheet"));

    // Everything but the footer scrolls when a long translation is taller than the window;
    // the footer's Close stays in view.
    auto* sheetColumn = new QVBoxLayout(sheet);
    sheetColumn->setContentsMargins(0, 0, 0, kSheetPadding);
    sheetColumn->setSpacing(kSectionSpacing);
    m_scroll = new QScrollArea(sheet);
    m_scroll->setObjectName(QStringLiteral("inputAccessScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->viewport()->setAutoFillBackground(false);
    theme::slimScrollBar(m_scroll);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("inputAccessContent"));
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(kSheetPadding, kSheetPadding, kSheetPadding, 0);
    column->setSpacing(kSectionSpacing);
    buildText(content);
    const bool canGrant = granter.canGrant();
    if (canGrant) {
        auto* grant = new GrantAccessRow(m_scheduler, granter, content);
        m_grant = grant;
        connect(grant, &GrantAccessRow::statusChanged, this, &InputAccessPanel::placeSheet);
        column->addWidget(grant);
    }

    // The heading, and close under it what the rule gives away, whichever way it goes in.
    auto* terminalPart = new QVBoxLayout;
    terminalPart->setSpacing(2);
    QLabel* terminal =
        leftLabel(canGrant ? tr("Or in a terminal:") : tr("Run these commands in a terminal:"),
                  theme::TextStyle::Body, content, QFont::Bold, theme::black());
    terminal->setObjectName(QStringLiteral("panelTerminalHeading"));
    terminalPart->addWidget(terminal);
    QLabel* reach = leftLabel(
        tr("The rule lets the active user at this computer read every keyboard. A keyboard a "
           "program opened stays open to it after a switch of user or to a text console, and "
           "on Wayland it reads what is typed into every window."),
        theme::TextStyle::Caption, content, QFont::Normal, theme::secondaryLabel());
    reach->setObjectName(QStringLiteral("panelRuleReach"));
    terminalPart->addWidget(reach);
    column->addLayout(terminalPart);
    auto* commands = new InputAccessCommands(m_scheduler, content);
    column->addWidget(commands);
    m_scroll->setWidget(content);
    content->setAutoFillBackground(false);
    sheetColumn->addWidget(m_scroll, 1);
    // A control the keyboard reaches inside the scrolled part is scrolled into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && m_scroll->widget()->isAncestorOf(now))
            m_scroll->ensureWidgetVisible(now, 0, kSheetPadding);
    });

    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(kSheetPadding, 0, kSheetPadding, 0);
    footer->setSpacing(8);
    footer->addWidget(new Spinner(16, sheet), 0, Qt::AlignVCenter);
    QLabel* waiting = theme::textLabel(tr("Waiting for input access..."), theme::TextStyle::Caption,
                                       sheet, QFont::Normal, theme::secondaryLabel());
    waiting->setObjectName(QStringLiteral("panelWaiting"));
    waiting->setWordWrap(false);
    footer->addWidget(waiting, 0, Qt::AlignVCenter);
    footer->addStretch(1);
    auto* closeButton = new StyledButton(ButtonStyle::Plain, tr("Close"), sheet);
    closeButton->setObjectName(QStringLiteral("closePanelButton"));
    // The window's own Close quits the onboarding; this one only closes the panel, and says so
    // to whoever cannot see which is which.
    closeButton->setAccessibleName(tr("Close panel"));
    theme::followAccent(closeButton, [closeButton] { closeButton->setTextColor(theme::accent()); });
    closeButton->setMinimumLabelWidth(60);
    connect(closeButton, &QAbstractButton::clicked, this, &QWidget::close);
    footer->addWidget(closeButton);
    sheetColumn->addLayout(footer);
}

void InputAccessPanel::buildText(QWidget* sheet)
{
    auto* column = static_cast<QVBoxLayout*>(sheet->layout());
    QLabel* title = leftLabel(tr("Allow input access"), theme::TextStyle::Title2, sheet,
                              QFont::Bold, theme::black());
    title->setObjectName(QStringLiteral("panelTitle"));
    column->addWidget(title);

    QLabel* intro = leftLabel(
        tr("Marten needs to see when you press the Right Command key (the right Super or "
           "Windows key) and to type the text you dictate. Granting input access means: while "
           "you are logged in at this computer, programs you run can read the keyboard and "
           "type. That is what push-to-talk needs."),
        theme::TextStyle::Body, sheet, QFont::Normal, theme::black());
    intro->setObjectName(QStringLiteral("panelIntro"));
    setAccessibleDescription(intro->text());
    column->addWidget(intro);
}

void InputAccessPanel::setPrimaryButtonStyle(ButtonStyle style)
{
    if (m_grant)
        m_grant->button()->setButtonStyle(style);
}

QSize InputAccessPanel::sheetSize(const QSize& area) const
{
    const int width = qMin(kMaxSheetWidth, area.width() - 2 * kOuterMargin);
    // The scrolled part as tall as its text at this width, then the footer under it.
    const QWidget* content = m_scroll->widget();
    const int footer = sheet()->layout()->itemAt(1)->sizeHint().height();
    const int text = content->hasHeightForWidth() ? content->heightForWidth(width)
                                                  : content->sizeHint().height();
    const int wanted = text + kSectionSpacing + footer + kSheetPadding;
    return {width, qMin(wanted, area.height() - 2 * kOuterMarginVertical)};
}

} // namespace marten
