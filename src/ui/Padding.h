#pragma once

#include <QMargins>
#include <Qt>

class QWidget;

namespace marten {

// Wraps `child` in a transparent box with the given margins around it.
QWidget* padded(QWidget* child, QWidget* parent, const QMargins& margins,
                Qt::Alignment alignment = {});

} // namespace marten
