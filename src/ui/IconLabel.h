#pragma once

#include "ui/Theme.h"

#include <QLayoutItem>
#include <QWidget>

class QLabel;

namespace marten {

// A symbol followed by a title on one row, the symbol sized for the title's style. It is painted
// by the row itself: it only decorates the title, so it is not an element of its own for
// screen readers. The row carries the title as its accessible name.
class IconLabel final : public QWidget {
    Q_OBJECT
public:
    IconLabel(const QString& symbolName, const QString& text, theme::TextStyle style,
              const QColor& colour, QWidget* parent = nullptr);

    QRect symbolRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    QColor m_colour;
    int m_side;
    QLabel* m_title;
};

// A symbol that only decorates its screen: a fixed-size place in a layout, painted by the
// widget that owns the layout (`host`), so it never shows up as an image without a name.
QLayoutItem* decorativeSymbol(const QString& name, int pixelHeight, const QColor& colour,
                              QWidget* host, Qt::Alignment alignment = Qt::AlignHCenter);

} // namespace marten
