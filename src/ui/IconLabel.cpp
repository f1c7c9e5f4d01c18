#include "ui/IconLabel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

#include <memory>

namespace marten {
namespace {

constexpr int kGap = 6;

// Symbols drawn at the height their source is drawn on (16 px) land on whole pixels, so
// their 1 px lines stay sharp beside 13 px text.
int symbolSideFor(theme::TextStyle style)
{
    const int size = theme::pixelSize(style);
    return size <= 13 ? 16 : QFontMetrics(theme::font(style)).height() - 2;
}

struct SymbolPlace {
    QString name;
    QColor colour;
    int side;
    QRect geometry;
};

class SymbolItem final : public QLayoutItem {
public:
    SymbolItem(std::shared_ptr<SymbolPlace> place, Qt::Alignment alignment)
        : QLayoutItem(alignment), m_place(std::move(place))
    {
    }
    QSize sizeHint() const override { return {m_place->side, m_place->side}; }
    QSize minimumSize() const override { return sizeHint(); }
    QSize maximumSize() const override { return sizeHint(); }
    Qt::Orientations expandingDirections() const override { return {}; }
    bool isEmpty() const override { return false; }
    void setGeometry(const QRect& rect) override { m_place->geometry = rect; }
    QRect geometry() const override { return m_place->geometry; }

private:
    std::shared_ptr<SymbolPlace> m_place;
};

// Paints the symbol into its place before the host paints anything of its own.
class SymbolPainter final : public QObject {
public:
    SymbolPainter(std::shared_ptr<SymbolPlace> place, QWidget* host)
        : QObject(host), m_place(std::move(place)), m_host(host)
    {
        host->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_host && event->type() == QEvent::Paint && m_place->geometry.isValid()) {
            QPainter p(m_host);
            const QRect& at = m_place->geometry;
            const QPoint origin(at.x() + (at.width() - m_place->side) / 2,
                                at.y() + (at.height() - m_place->side) / 2);
            p.drawPixmap(origin, theme::symbol(m_place->name, m_place->side, m_place->colour,
                                               m_host->devicePixelRatioF()));
        }
        return false;
    }

private:
    std::shared_ptr<SymbolPlace> m_place;
    QWidget* m_host;
};

} // namespace

IconLabel::IconLabel(const QString& symbolName, const QString& text, theme::TextStyle style,
                     const QColor& colour, QWidget* parent)
    : QWidget(parent), m_symbol(symbolName), m_colour(colour), m_side(symbolSideFor(style))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(m_side + kGap, 0, 0, 0);
    row->setSpacing(0);
    m_title =
        theme::textLabel(text, style, this,
                         style == theme::TextStyle::Headline ? QFont::Bold : QFont::Normal, colour);
    m_title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_title->setWordWrap(false);
    m_title->setMinimumHeight(qMax(m_title->sizeHint().height(), m_side));
    row->addWidget(m_title);
    setAccessibleName(text);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QRect IconLabel::symbolRect() const
{
    return {0, (height() - m_side) / 2, m_side, m_side};
}

void IconLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor tint = m_colour.isValid() ? m_colour : palette().color(QPalette::WindowText);
    p.drawPixmap(symbolRect().topLeft(),
                 theme::symbol(m_symbol, m_side, tint, devicePixelRatioF()));
}

QLayoutItem* decorativeSymbol(const QString& name, int pixelHeight, const QColor& colour,
                              QWidget* host, Qt::Alignment alignment)
{
    auto place = std::make_shared<SymbolPlace>(SymbolPlace{name, colour, pixelHeight, {}});
    // A symbol in the accent colour keeps to it when the desktop's accent changes.
    if (colour == theme::accent())
        theme::followAccent(host, [place] { place->colour = theme::accent(); });
    new SymbolPainter(place, host);
    return new SymbolItem(place, alignment);
}

} // namespace marten
