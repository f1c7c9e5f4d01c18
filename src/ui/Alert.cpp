#include "ui/Alert.h"

#include "ui/Buttons.h"
#include "ui/Theme.h"

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
    : Overlay(QAccessible::AlertMessage, host)
{
    setAccessibleName(title);
    setAccessibleDescription(message);
    QWidget* card = sheet();
    card->setObjectName(QStringLiteral("alertCard"));
    card->setFixedWidth(kAlertWidth);

    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(kAlertPadding, kAlertPadding, kAlertPadding, kAlertPadding);
    layout->setSpacing(kAlertTextSpacing);
    QLabel* titleLabel =
        theme::textLabel(title, theme::TextStyle::Headline, card, QFont::Bold, theme::black());
    titleLabel->setObjectName(QStringLiteral("alertTitle"));
    layout->addWidget(titleLabel);
    QLabel* messageLabel =
        theme::textLabel(message, theme::TextStyle::Callout, card, QFont::Normal, theme::black());
    messageLabel->setObjectName(QStringLiteral("alertMessage"));
    layout->addWidget(messageLabel);
    layout->addSpacing(kAlertButtonGap);
    auto* ok = new StyledButton(ButtonStyle::BorderedProminent, button, card);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setStretchLabel(true);
    connect(ok, &QAbstractButton::clicked, this, &QWidget::close);
    layout->addWidget(ok);
}

void Alert::open()
{
    present();
    QAccessibleEvent shown(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&shown);
}

QSize Alert::sheetSize(const QSize&) const
{
    const int height = sheet()->heightForWidth(kAlertWidth);
    return {kAlertWidth, height > 0 ? height : sheet()->sizeHint().height()};
}

bool Alert::event(QEvent* event)
{
    // While the alert is up, the window's own shortcuts (Ctrl+Return on a step) stay quiet.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return Overlay::event(event);
}

void Alert::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        close();
    else
        Overlay::keyPressEvent(event);
}

} // namespace marten
