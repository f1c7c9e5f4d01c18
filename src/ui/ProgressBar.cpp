#include "ui/ProgressBar.h"

#include "ui/Theme.h"

#include <QPainter>
#include <QPainterPath>

namespace marten {
namespace {
constexpr int kSegmentHeight = ProgressBar::kHeight;
constexpr int kGap = 8;
} // namespace

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("progressBar"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(kSegmentHeight);
    setAccessibleName(tr("Progress"));
}

void ProgressBar::setSteps(qint64 currentStep, qint64 totalSteps)
{
    m_current = currentStep;
    m_total = totalSteps;
    setAccessibleDescription(
        tr("Step %1 of %2").arg(qMin(currentStep + 1, totalSteps)).arg(totalSteps));
    update();
}

QSize ProgressBar::sizeHint() const
{
    return {200, kSegmentHeight};
}

void ProgressBar::paintEvent(QPaintEvent*)
{
    if (m_total <= 0)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal segment = (width() - kGap * qreal(m_total - 1)) / qreal(m_total);
    for (qint64 i = 0; i < m_total; ++i) {
        const QRectF r(i * (segment + kGap), 0, segment, kSegmentHeight);
        QPainterPath capsule;
        capsule.addRoundedRect(r, kSegmentHeight / 2.0, kSegmentHeight / 2.0);
        p.fillPath(capsule,
                   i <= m_current ? theme::accent() : theme::withOpacity(theme::gray(), 0.3));
    }
}

} // namespace marten
