#include "ui/NavigationControls.h"

#include "ui/Accessibility.h"
#include "ui/FocusRing.h"
#include "ui/Theme.h"

#include <QPainter>
#include <QPainterPath>
#include <QShortcut>

namespace marten {
namespace {
constexpr int kChevron = 17; // title 2
// The chevron's stroke at that size and regular weight; its outline spans 9 × 15 px.
constexpr qreal kChevronStroke = 2.0;
constexpr qreal kChevronWidth = 8.0;
constexpr qreal kChevronHeight = 15.0;
constexpr qreal kCrossArm = 3.5; // half the length of each bar of the "×"
constexpr qreal kCrossStroke = 1.5;
} // namespace

BackButton::BackButton(QWidget* parent) : QAbstractButton(parent)
{
    setObjectName(QStringLiteral("backButton"));
    setAccessibleName(tr("Back"));
    a11y::setMouseTip(this, tr("Back"));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    focusring::watchKeyboardNavigation();
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
    // Stroked rather than scaled down from an icon, so the line keeps its full weight. The
    // tip and the ends sit on pixel centres.
    const qreal left = theme::defaultPadding + (kChevron - kChevronWidth) / 2.0;
    const qreal top = theme::defaultPadding + (kChevron - kChevronHeight) / 2.0;
    QPainterPath chevron;
    chevron.moveTo(left + kChevronWidth, top);
    chevron.lineTo(left, top + kChevronHeight / 2.0);
    chevron.lineTo(left + kChevronWidth, top + kChevronHeight);
    p.setPen(
        QPen(theme::secondaryLabel(), kChevronStroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(chevron);
    if (focusring::visible(this)) {
        const QRectF glyph(theme::defaultPadding, theme::defaultPadding, kChevron, kChevron);
        focusring::draw(p, glyph.adjusted(-5, -5, 5, 5), 6);
    }
}

CloseButton::CloseButton(QWidget* parent) : QAbstractButton(parent)
{
    setObjectName(QStringLiteral("closeButton"));
    setAccessibleName(tr("Close"));
    a11y::setMouseTip(this, tr("Close"));
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover); // the disc darkens under the pointer
    setFocusPolicy(Qt::StrongFocus);
    focusring::watchKeyboardNavigation();
    resize(sizeHint());
}

QSize CloseButton::sizeHint() const
{
    // Room around the disc for the ring.
    return {kDiameter + 8, kDiameter + 8};
}

void CloseButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(isDown() ? 0.5 : 1.0);
    const QPointF centre = QRectF(rect()).center();
    const qreal radius = kDiameter / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(theme::withOpacity(theme::gray(), underMouse() ? 0.25 : 0.15));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(theme::secondaryLabel(), kCrossStroke, Qt::SolidLine, Qt::RoundCap));
    // One path for both bars: a translucent pen stroked twice would darken where they cross.
    QPainterPath cross;
    cross.moveTo(centre + QPointF(-kCrossArm, -kCrossArm));
    cross.lineTo(centre + QPointF(kCrossArm, kCrossArm));
    cross.moveTo(centre + QPointF(-kCrossArm, kCrossArm));
    cross.lineTo(centre + QPointF(kCrossArm, -kCrossArm));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cross);
    if (focusring::visible(this))
        focusring::draw(p, QRectF(rect()).adjusted(1, 1, -1, -1), (width() - 2) / 2.0);
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
