#include "ui/Divider.h"

#include <QPainter>

namespace marten {

Divider::Divider(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("divider"));
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Divider::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 0, 26));
}

} // namespace marten
