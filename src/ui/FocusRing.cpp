#include "ui/FocusRing.h"

#include "ui/Theme.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace marten::focusring {
namespace {

const char* const kProperty = "martenKeyboardNavigation";

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

class NavigationWatch final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        const bool keyboard =
            type == QEvent::KeyPress && isNavigationKey(static_cast<QKeyEvent*>(event)->key());
        if (type == QEvent::KeyPress && !keyboard)
            return false;
        QWidget* window = widget->window();
        if (window->property(kProperty).toBool() != keyboard) {
            window->setProperty(kProperty, keyboard);
            window->update();
        }
        return false;
    }
};

} // namespace

void watchKeyboardNavigation()
{
    static QPointer<NavigationWatch> watch;
    if (watch || !qApp)
        return;
    watch = new NavigationWatch(qApp);
    qApp->installEventFilter(watch);
}

bool keyboardNavigation(const QWidget* window)
{
    return window && window->property(kProperty).toBool();
}

bool visible(const QWidget* widget)
{
    return widget->hasFocus() && keyboardNavigation(widget->window());
}

QColor colour()
{
    // A deep shade of the accent that reads on white and on the accent fill alike.
    return theme::focusRing();
}

void draw(QPainter& painter, const QRectF& rect, qreal radius)
{
    painter.save();
    painter.setOpacity(1.0);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour(), 2));
    painter.setBrush(Qt::NoBrush);
    const QRectF centreLine = rect.adjusted(1, 1, -1, -1);
    painter.drawRoundedRect(centreLine, qMax<qreal>(0, radius - 1), qMax<qreal>(0, radius - 1));
    painter.restore();
}

} // namespace marten::focusring
