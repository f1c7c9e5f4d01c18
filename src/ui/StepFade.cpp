#include "ui/StepFade.h"

#include <QPainter>
#include <QVariantAnimation>

namespace marten {

StepFade::StepFade(int durationMs, QWidget* parent)
    : QWidget(parent), m_fade(new QVariantAnimation(this))
{
    setObjectName(QStringLiteral("stepFade"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    m_fade->setDuration(durationMs);
    m_fade->setStartValue(1.0);
    m_fade->setEndValue(0.0);
    m_fade->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_opacity = value.toReal();
        update();
    });
    connect(m_fade, &QVariantAnimation::finished, this, &QWidget::hide);
}

void StepFade::start(const QRect& geometry)
{
    m_fade->stop();
    m_opacity = 1.0;
    setGeometry(geometry);
    show();
    raise();
    m_fade->start();
}

void StepFade::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setOpacity(m_opacity);
    painter.fillRect(rect(), palette().color(QPalette::Window));
}

} // namespace marten
