#pragma once

#include <QWidget>

#include <functional>

namespace marten {

// Runs `work` once, on the event loop's next turn after `widget` has first been painted:
// for what the window's first frame does not need.
void afterFirstPaint(QWidget* widget, std::function<void()> work);

} // namespace marten
