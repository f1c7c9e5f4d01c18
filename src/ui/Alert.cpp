#include "ui/Alert.h"

#include "ui/Buttons.h"
#include "ui/Theme.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace marten {
namespace {
constexpr int kAlertWidth = 260;
constexpr int kAlertPadding = 20;
constexpr int kAlertTextSpacing = 6;
constexpr int kAlertButtonGap = 10;
} // namespace

Alert::Alert(const QString& title, const QString& message, const QString& button, QWidget* parent)
    : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(title);
    setAccessibleName(title);
    setAccessibleDescription(message);
    setFixedWidth(kAlertWidth);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, theme::white());
    pal.setColor(QPalette::WindowText, theme::black());
    setPalette(pal);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kAlertPadding, kAlertPadding, kAlertPadding, kAlertPadding);
    layout->setSpacing(kAlertTextSpacing);
    QLabel* titleLabel =
        theme::textLabel(title, theme::TextStyle::Headline, this, QFont::Bold, theme::black());
    titleLabel->setObjectName(QStringLiteral("alertTitle"));
    layout->addWidget(titleLabel);
    QLabel* messageLabel =
        theme::textLabel(message, theme::TextStyle::Callout, this, QFont::Normal, theme::black());
    messageLabel->setObjectName(QStringLiteral("alertMessage"));
    layout->addWidget(messageLabel);
    layout->addSpacing(kAlertButtonGap);
    auto* ok = new StyledButton(ButtonStyle::BorderedProminent, button, this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setStretchLabel(true);
    connect(ok, &QAbstractButton::clicked, this, &QDialog::reject);
    layout->addWidget(ok);
    ok->setFocus(Qt::OtherFocusReason);
}

void Alert::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(theme::withOpacity(theme::gray(), 0.4), 1));
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace marten
