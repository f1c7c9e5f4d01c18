#include "screens/InputAccessPanel.h"

#include "core/platform/InputAccessGranter.h"
#include "screens/GrantAccessRow.h"
#include "screens/InputAccessCommands.h"
#include "ui/Accessibility.h"
#include "ui/Buttons.h"
#include "ui/Overlay.h"
#include "ui/Spinner.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
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
    : QWidget(host), m_scheduler(scheduler), m_sheet(new overlay::Sheet(this))
{
    setObjectName(QStringLiteral("inputAccessPanel"));
    a11y::setRole(this, QAccessible::Dialog);
    setAccessibleName(tr("Allow input access"));
    a11y::setModal(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);
    m_sheet->setObjectName(QStringLiteral("inputAccessSheet"));

    // Everything but the footer scrolls when a long translation is taller than the window;
    // the footer's Close stays in view.
    auto* sheetColumn = new QVBoxLayout(m_sheet);
    sheetColumn->setContentsMargins(0, 0, 0, kSheetPadding);
    sheetColumn->setSpacing(kSectionSpacing);
    m_scroll = new QScrollArea(m_sheet);
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
        m_focusChain.append(grant->button());
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
    m_focusChain.append(commands->copyButtons());
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
    footer->addWidget(new Spinner(16, m_sheet), 0, Qt::AlignVCenter);
    QLabel* waiting = theme::textLabel(tr("Waiting for input access..."), theme::TextStyle::Caption,
                                       m_sheet, QFont::Normal, theme::secondaryLabel());
    waiting->setObjectName(QStringLiteral("panelWaiting"));
    waiting->setWordWrap(false);
    footer->addWidget(waiting, 0, Qt::AlignVCenter);
    footer->addStretch(1);
    auto* closeButton = new StyledButton(ButtonStyle::Plain, tr("Close"), m_sheet);
    closeButton->setObjectName(QStringLiteral("closePanelButton"));
    // The window's own Close quits the onboarding; this one only closes the panel, and says so
    // to whoever cannot see which is which.
    closeButton->setAccessibleName(tr("Close panel"));
    theme::followAccent(closeButton, [closeButton] { closeButton->setTextColor(theme::accent()); });
    closeButton->setMinimumLabelWidth(60);
    connect(closeButton, &QAbstractButton::clicked, this, &QWidget::close);
    footer->addWidget(closeButton);
    m_focusChain.append(closeButton);
    sheetColumn->addLayout(footer);

    // Follow the host's size, and cover it from the start.
    host->installEventFilter(this);
    setGeometry(host->rect());
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

void InputAccessPanel::present()
{
    if (!isVisible())
        m_returnFocus = QApplication::focusWidget();
    setGeometry(parentWidget()->rect());
    show();
    raise();
    a11y::modalChanged(this);
    for (QWidget* control : std::as_const(m_focusChain)) {
        if (control->isVisible() && control->isEnabled()) {
            control->setFocus(Qt::OtherFocusReason);
            break;
        }
    }
}

void InputAccessPanel::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    a11y::modalChanged(this);
    if (m_returnFocus && m_returnFocus->isVisible())
        m_returnFocus->setFocus(Qt::OtherFocusReason);
}

bool InputAccessPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

QRect InputAccessPanel::sheetRect() const
{
    const int width = qMin(kMaxSheetWidth, this->width() - 2 * kOuterMargin);
    // The scrolled part as tall as its text at this width, then the footer under it.
    const QWidget* content = m_scroll->widget();
    const int footer = m_sheet->layout()->itemAt(1)->sizeHint().height();
    const int text = content->hasHeightForWidth() ? content->heightForWidth(width)
                                                  : content->sizeHint().height();
    const int wanted = text + kSectionSpacing + footer + kSheetPadding;
    const int height = qMin(wanted, this->height() - 2 * kOuterMarginVertical);
    return {(this->width() - width) / 2, (this->height() - height) / 2, width, height};
}

void InputAccessPanel::placeSheet()
{
    m_sheet->setGeometry(sheetRect());
}

void InputAccessPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeSheet();
}

void InputAccessPanel::paintEvent(QPaintEvent*)
{
    overlay::paintBackdrop(this, m_sheet->geometry());
}

void InputAccessPanel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool InputAccessPanel::focusNextPrevChild(bool next)
{
    // Tab stays inside the panel while it is open, over the controls that can take it.
    QList<QWidget*> chain;
    for (QWidget* control : std::as_const(m_focusChain)) {
        if (control->isVisible() && control->isEnabled())
            chain.append(control);
    }
    if (chain.isEmpty())
        return false;
    const qsizetype count = chain.size();
    qsizetype at = -1;
    for (qsizetype i = 0; i < count; ++i) {
        if (chain.at(i)->hasFocus())
            at = i;
    }
    const qsizetype to = at < 0 ? (next ? 0 : count - 1) : (at + (next ? 1 : count - 1)) % count;
    chain.at(to)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

} // namespace marten
