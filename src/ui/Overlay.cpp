#include "ui/Overlay.h"

#include "ui/Accessibility.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace marten {
namespace {
constexpr int kRadius = 12;

// The white card, with rounded corners and a faint outline.
class Sheet final : public QWidget {
public:
    explicit Sheet(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
        p.fillPath(path, theme::white());
        p.setPen(QPen(theme::withOpacity(theme::black(), 0.12), 1));
        p.drawPath(path);
    }
};

} // namespace

QList<QWidget*> focus::tabStops(const QWidget* root)
{
    QWidget* window = root->window();
    QList<QWidget*> stops;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (root->isAncestorOf(w) && w->isVisible() && w->isEnabled() && !w->focusProxy() &&
            (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
            stops.append(w);
    }
    return stops;
}

bool focus::cycle(const QList<QWidget*>& stops, bool next)
{
    if (stops.isEmpty())
        return false;
    const qsizetype count = stops.size();
    const qsizetype at = stops.indexOf(QApplication::focusWidget());
    const qsizetype to = at < 0 ? (next ? 0 : count - 1) : (at + (next ? 1 : count - 1)) % count;
    stops.at(to)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

Overlay::Overlay(QAccessible::Role role, QWidget* host)
    : QWidget(host->window()), m_sheet(new Sheet(this))
{
    a11y::setRole(this, role);
    a11y::setModal(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);
    hide();
    // Cover the window from the start, and follow its size.
    setGeometry(parentWidget()->rect());
    parentWidget()->installEventFilter(this);
}

void Overlay::present()
{
    if (!isVisible())
        m_returnFocus = QApplication::focusWidget();
    setGeometry(parentWidget()->rect());
    show();
    raise();
    a11y::modalChanged(this);
    const QList<QWidget*> stops = focus::tabStops(m_sheet);
    if (!stops.isEmpty())
        stops.first()->setFocus(Qt::OtherFocusReason);
}

void Overlay::placeSheet()
{
    const QSize size = sheetSize(this->size());
    m_sheet->setGeometry((width() - size.width()) / 2, (height() - size.height()) / 2, size.width(),
                         size.height());
}

void Overlay::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    // Back to where the focus was while this still holds it, so that hiding moves it nowhere.
    if (m_returnFocus && m_returnFocus->isVisible())
        m_returnFocus->setFocus(Qt::OtherFocusReason);
    hide();
    a11y::modalChanged(this);
    emit dismissed();
}

bool Overlay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void Overlay::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeSheet();
}

void Overlay::paintEvent(QPaintEvent*)
{
    // The window dimmed, and the sheet lifted off it by a soft shadow.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), theme::withOpacity(theme::black(), 0.28));
    const QRectF lifted = QRectF(m_sheet->geometry()).translated(0, 3);
    for (int i = 1; i <= 6; ++i) {
        QPainterPath halo;
        halo.addRoundedRect(lifted.adjusted(-i, -i, i, i), kRadius + i, kRadius + i);
        p.fillPath(halo, theme::withOpacity(theme::black(), 0.025));
    }
}

void Overlay::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    // Nothing under the overlay may take a key while it is up.
    event->accept();
}

bool Overlay::focusNextPrevChild(bool next)
{
    return focus::cycle(focus::tabStops(m_sheet), next);
}

} // namespace marten
