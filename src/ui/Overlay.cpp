#include "ui/Overlay.h"

#include "ui/Theme.h"

#include <QPainter>
#include <QPainterPath>

namespace marten::overlay {
namespace {
constexpr int kRadius = 12;
}

void Sheet::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
    p.fillPath(path, theme::white());
    p.setPen(QPen(theme::withOpacity(theme::black(), 0.12), 1));
    p.drawPath(path);
}

void paintBackdrop(QWidget* overlay, const QRect& sheet)
{
    QPainter p(overlay);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(overlay->rect(), theme::withOpacity(theme::black(), 0.28));
    const QRectF lifted = QRectF(sheet).translated(0, 3);
    for (int i = 1; i <= 6; ++i) {
        QPainterPath halo;
        halo.addRoundedRect(lifted.adjusted(-i, -i, i, i), kRadius + i, kRadius + i);
        p.fillPath(halo, theme::withOpacity(theme::black(), 0.025));
    }
}

} // namespace marten::overlay
