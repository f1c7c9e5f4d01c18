#include "ui/Alert.h"

#include "ui/Accessibility.h"
#include "ui/Buttons.h"
#include "ui/Overlay.h"
#include "ui/Theme.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace marten {
namespace {
constexpr int kAlertWidth = 260;
constexpr int kAlertPadding = 20;
constexpr int kAlertTextSpacing = 6;
constexpr int kAlertButtonGap = 10;

} // namespace

Alert::Alert(const QString& title, const QString& message, const QString& button, QWidget* host)
    : QWidget(host->window()), m_card(new overlay::Sheet(this))
{
    a11y::setRole(this, QAccessible::AlertMessage);
    a11y::setModal(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(title);
    setAccessibleDescription(message);
    hide();
    m_card->setObjectName(QStringLiteral("alertCard"));
    m_card->setFixedWidth(kAlertWidth);

    auto* layout = new QVBoxLayout(m_card);
    layout->setContentsMargins(kAlertPadding, kAlertPadding, kAlertPadding, kAlertPadding);
    layout->setSpacing(kAlertTextSpacing);
    QLabel* titleLabel =
        theme::textLabel(title, theme::TextStyle::Headline, m_card, QFont::Bold, theme::black());
    titleLabel->setObjectName(QStringLiteral("alertTitle"));
    layout->addWidget(titleLabel);
    QLabel* messageLabel =
        theme::textLabel(message, theme::TextStyle::Callout, m_card, QFont::Normal, theme::black());
    messageLabel->setObjectName(QStringLiteral("alertMessage"));
    layout->addWidget(messageLabel);
    layout->addSpacing(kAlertButtonGap);
    auto* ok = new StyledButton(ButtonStyle::BorderedProminent, button, m_card);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setStretchLabel(true);
    connect(ok, &QAbstractButton::clicked, this, &Alert::dismiss);
    layout->addWidget(ok);
    m_button = ok;

    // Follow the window's size.
    parentWidget()->installEventFilter(this);
}

void Alert::open()
{
    if (!isVisible())
        m_returnFocus = QApplication::focusWidget();
    setGeometry(parentWidget()->rect());
    show();
    raise();
    placeCard();
    a11y::modalChanged(this);
    m_button->setFocus(Qt::OtherFocusReason);
    QAccessibleEvent shown(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&shown);
}

void Alert::dismiss()
{
    if (m_returnFocus && m_returnFocus->isVisible())
        m_returnFocus->setFocus(Qt::OtherFocusReason);
    emit dismissed();
    close();
    a11y::modalChanged(this);
}

void Alert::placeCard()
{
    const int height = m_card->heightForWidth(kAlertWidth) > 0 ? m_card->heightForWidth(kAlertWidth)
                                                               : m_card->sizeHint().height();
    m_card->setGeometry((width() - kAlertWidth) / 2, (this->height() - height) / 2, kAlertWidth,
                        height);
}

bool Alert::event(QEvent* event)
{
    // While the alert is up, the window's own shortcuts (Ctrl+Return on a step) stay quiet.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

bool Alert::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void Alert::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeCard();
}

void Alert::paintEvent(QPaintEvent*)
{
    overlay::paintBackdrop(this, m_card->geometry());
}

void Alert::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        dismiss();
        return;
    default:
        // Nothing under the alert may take a key while it is up.
        event->accept();
    }
}

bool Alert::focusNextPrevChild(bool)
{
    // The button is the only control; Tab keeps the focus on it.
    m_button->setFocus(Qt::TabFocusReason);
    return true;
}

} // namespace marten
