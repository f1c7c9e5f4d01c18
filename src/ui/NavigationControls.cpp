#include "ui/NavigationControls.h"

#include "ui/Theme.h"

#include <QPainter>
#include <QShortcut>

namespace marten {
namespace {
constexpr int kChevron = 17; // title 2
} // namespace

BackButton::BackButton(QWidget* parent) : QAbstractButton(parent)
{
    setObjectName(QStringLiteral("backButton"));
    setAccessibleName(tr("Back"));
    setToolTip(tr("Back"));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    resize(sizeHint());
}

QSize BackButton::sizeHint() const
{
    return {kChevron + 2 * theme::defaultPadding, kChevron + 2 * theme::defaultPadding};
}

void BackButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(isDown() ? 0.5 : 1.0);
    const QPixmap glyph = theme::symbol(QStringLiteral("chevron.left"), kChevron,
                                        theme::secondaryLabel(), devicePixelRatioF());
    p.drawPixmap(theme::defaultPadding, theme::defaultPadding, glyph);
    if (hasFocus()) {
        p.setPen(QPen(theme::withOpacity(theme::accent(), 0.6), 1.5));
        p.drawRoundedRect(QRectF(rect()).adjusted(8, 8, -8, -8), 6, 6);
    }
}

StyledButton* StepButton::create(ButtonStyle style, const QString& title, QWidget* parent)
{
    auto* button = new StyledButton(style, title, parent);
    button->setObjectName(QStringLiteral("stepButton"));
    button->setMinimumLabelWidth(120);
    button->setActivatesOnReturn(false);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | key), button);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isVisible() && button->isEnabled())
                button->click();
        });
    }
    return button;
}

} // namespace marten
