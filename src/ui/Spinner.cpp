#include "ui/Spinner.h"

#include "ui/Theme.h"

#include <QPainter>
#include <QVariantAnimation>

namespace marten {

Spinner::Spinner(int diameter, QWidget* parent)
    : QWidget(parent), m_diameter(diameter), m_rotation(new QVariantAnimation(this))
{
    setObjectName(QStringLiteral("spinner"));
    setFixedSize(diameter, diameter);
    setAccessibleName(tr("Loading"));
    m_rotation->setStartValue(0);
    m_rotation->setEndValue(12);
    m_rotation->setDuration(1000);
    m_rotation->setLoopCount(-1);
    connect(m_rotation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const int step = value.toInt() % 12;
        if (step * 30 != m_angle) {
            m_angle = step * 30;
            update();
        }
    });
}

void Spinner::showEvent(QShowEvent*)
{
    m_rotation->start();
}

void Spinner::hideEvent(QHideEvent*)
{
    m_rotation->stop();
}

void Spinner::paintEvent(QPaintEvent*)
{
    // Twelve spokes, each a little fainter than the one ahead of it, turning around the circle.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(width() / 2.0, height() / 2.0);
    p.rotate(m_angle);
    const qreal outer = m_diameter / 2.0;
    const qreal inner = outer * 0.45;
    QPen pen(theme::gray());
    pen.setWidthF(qMax(1.5, m_diameter / 12.0));
    pen.setCapStyle(Qt::RoundCap);
    for (int i = 0; i < 12; ++i) {
        pen.setColor(theme::withOpacity(QColor(0x60, 0x60, 0x60), 1.0 - i / 14.0));
        p.setPen(pen);
        p.drawLine(QPointF(0, -inner), QPointF(0, -outer + pen.widthF()));
        p.rotate(-30);
    }
}

} // namespace marten
