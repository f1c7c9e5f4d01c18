#pragma once

#include <QWidget>

class QPainter;

namespace marten::overlay {

// The white card in the middle of an in-window overlay (the alert, the input-access panel),
// with rounded corners and a faint outline.
class Sheet final : public QWidget {
public:
    explicit Sheet(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Dims all of `overlay` and lifts `sheet` (its geometry, in the overlay's coordinates) off it
// with a soft shadow. Called from the overlay's own paintEvent.
void paintBackdrop(QWidget* overlay, const QRect& sheet);

} // namespace marten::overlay
