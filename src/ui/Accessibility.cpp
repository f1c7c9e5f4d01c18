#include "ui/Accessibility.h"

#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

namespace marten::a11y {
namespace {
constexpr char kRoleProperty[] = "martenAccessibleRole";
constexpr char kModalProperty[] = "martenAccessibleModal";
constexpr char kTipProperty[] = "martenMouseTip";
// Long enough for a busy reader to come to it, short enough that notices do not pile up.
constexpr int kNoticeLife = 10000;

// The shown modal overlay among `widget`'s children, if any.
QWidget* shownModal(const QWidget* widget)
{
    for (QObject* child : widget->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && w->property(kModalProperty).toBool() && w->isVisible())
            return w;
    }
    return nullptr;
}

class RoleInterface final : public QAccessibleWidget {
public:
    explicit RoleInterface(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Role(widget->property(kRoleProperty).toInt()))
    {
    }

    QAccessible::Role role() const override
    {
        return QAccessible::Role(widget()->property(kRoleProperty).toInt());
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description)
            return widget()->accessibleDescription();
        return QAccessibleWidget::text(t);
    }

    int childCount() const override
    {
        return shownModal(widget()) ? 1 : QAccessibleWidget::childCount();
    }

    QAccessibleInterface* child(int index) const override
    {
        if (QWidget* modal = shownModal(widget()))
            return index == 0 ? QAccessible::queryAccessibleInterface(modal) : nullptr;
        return QAccessibleWidget::child(index);
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (QWidget* modal = shownModal(widget()))
            return child && child->object() == modal ? 0 : -1;
        return QAccessibleWidget::indexOfChild(child);
    }
};

QAccessibleInterface* roleFactory(const QString&, QObject* object)
{
    if (object && object->isWidgetType() && object->property(kRoleProperty).isValid())
        return new RoleInterface(static_cast<QWidget*>(object));
    return nullptr;
}

class MouseTipFilter final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), watched->property(kTipProperty).toString(),
                           static_cast<QWidget*>(watched));
        return true;
    }
};

} // namespace

void setRole(QWidget* widget, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(roleFactory);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(kRoleProperty, int(role));
}

void setModal(QWidget* overlay)
{
    overlay->setProperty(kModalProperty, true);
}

void modalChanged(QWidget* overlay)
{
    if (!QAccessible::isActive() || !overlay->parentWidget())
        return;
    QAccessibleEvent reorder(overlay->parentWidget(), QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reorder);
}

void setMouseTip(QWidget* widget, const QString& tip)
{
    static MouseTipFilter* filter = new MouseTipFilter;
    widget->setProperty(kTipProperty, tip);
    widget->installEventFilter(filter);
}

void announce(QWidget* context, const QString& text)
{
    if (text.isEmpty() || !QAccessible::isActive())
        return;
    // A notice of its own for each text, on the window, named before it shows: the reader
    // reads the event late, after the next text or after a dialog it came from has closed
    // (a grant's status line, then the step's own line), and must still find this text on a
    // showing object. Nothing to see: no size and nothing painted, kept at the back.
    auto* notice = new QWidget(context->window());
    notice->setAttribute(Qt::WA_TransparentForMouseEvents);
    notice->setFocusPolicy(Qt::NoFocus);
    notice->setGeometry(0, 0, 0, 0);
    setRole(notice, QAccessible::Notification);
    notice->setAccessibleName(text);
    notice->lower();
    notice->show();
    QTimer::singleShot(kNoticeLife, notice, &QObject::deleteLater);
}

void describeStep(QWidget* step, const QString& heading, const QString& explanation)
{
    setRole(step, QAccessible::Grouping);
    step->setAccessibleName(heading);
    step->setAccessibleDescription(explanation);
    // Clicks on a step's background may leave the focus there too; Tab passes it by.
    step->setFocusPolicy(Qt::ClickFocus);
}

} // namespace marten::a11y
