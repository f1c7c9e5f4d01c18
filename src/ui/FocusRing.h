#pragma once

#include <QColor>

class QPainter;
class QRectF;
class QWidget;

// Focus rings the way browsers show them: only to someone who is moving around with the
// keyboard. A window starts without rings; Tab, Backtab or an arrow key pressed in it turns
// them on, and a mouse press in it turns them off again. The focus itself is untouched, so
// Space and the shortcuts keep working on the focused control either way.
namespace marten::focusring {

// Starts watching the application's key and mouse presses (once; later calls do nothing).
void watchKeyboardNavigation();

// The user has been moving around `window` with the keyboard since its last mouse press.
bool keyboardNavigation(const QWidget* window);

// `widget` has the focus and its window shows focus rings.
bool visible(const QWidget* widget);

// The ring's colour, and a 2 px ring along `rect` (its outer edge) with corner `radius`.
QColor colour();
void draw(QPainter& painter, const QRectF& rect, qreal radius);

} // namespace marten::focusring
