#include "ui/Card.h"

#include "ui/Theme.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace marten {

Card::Card(const QColor& tint, int radius, QWidget* parent)
    : QWidget(parent), m_fill(theme::withOpacity(tint, 0.1)), m_radius(radius),
      m_layout(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("card"));
    // A card tinted with the accent colour keeps to it when the desktop's accent changes.
    if (tint == theme::accent())
        theme::followAccent(this, [this] { m_fill = theme::withOpacity(theme::accent(), 0.1); });
    m_layout->setContentsMargins(theme::defaultPadding, theme::defaultPadding,
                                 theme::defaultPadding, theme::defaultPadding);
}

void Card::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), m_radius, m_radius);
    p.fillPath(path, m_fill);
}

} // namespace marten
