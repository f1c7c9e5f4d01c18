#include "ui/OutlinedField.h"

#include "ui/FocusRing.h"
#include "ui/Theme.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

namespace marten {
namespace {
constexpr int kFieldPadding = 11;
constexpr int kFieldRadius = 8;
} // namespace

OutlinedField::OutlinedField(QLineEdit* edit, QWidget* parent) : QWidget(parent), m_edit(edit)
{
    setObjectName(QStringLiteral("emailFieldOutline"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kFieldPadding, kFieldPadding, kFieldPadding, kFieldPadding);
    edit->setParent(this);
    layout->addWidget(edit);
    setFocusProxy(edit);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The ring around the outline follows the field's focus.
    edit->installEventFilter(this);
    focusring::watchKeyboardNavigation();
}

bool OutlinedField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        update();
    return QWidget::eventFilter(watched, event);
}

void OutlinedField::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(theme::withOpacity(theme::gray(), 0.4), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kFieldRadius, kFieldRadius);
    // Reached with the keyboard: the ring takes the outline's place.
    if (focusring::visible(m_edit))
        focusring::draw(p, QRectF(rect()), kFieldRadius);
}

void OutlinedField::mousePressEvent(QMouseEvent* event)
{
    // The padding inside the outline belongs to the field.
    m_edit->setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

} // namespace marten
