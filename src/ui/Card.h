#pragma once

#include "ui/Theme.h"

#include <QColor>
#include <QWidget>

class QVBoxLayout;

namespace marten {

// An emphasis card: the default padding around its content, a pale fill (a colour at
// opacity 0.1) and rounded corners that clip it.
class Card final : public QWidget {
    Q_OBJECT
public:
    explicit Card(const QColor& tint, int radius = theme::cardRadius, QWidget* parent = nullptr);

    QVBoxLayout* contentLayout() const { return m_layout; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill;
    int m_radius;
    QVBoxLayout* m_layout;
};

} // namespace marten
