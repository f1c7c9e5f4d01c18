#include "ui/Buttons.h"

#include "ui/FocusRing.h"
#include "ui/Theme.h"

#include <QGraphicsDropShadowEffect>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace marten {
namespace {
constexpr int kSymbolGap = 6;
constexpr int kCrispSymbol = 16;
constexpr int kBlueRadius = 19;
constexpr int kProminentRadius = 7;
} // namespace

StyledButton::StyledButton(ButtonStyle style, const QString& text, QWidget* parent)
    : QPushButton(text, parent), m_style(style)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    focusring::watchKeyboardNavigation();
    setAccessibleName(text);
    setFlat(true);
    applyStyle();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void StyledButton::setButtonStyle(ButtonStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    setGraphicsEffect(nullptr);
    setFont(QFont()); // back to the inherited font
    m_textColor = QColor();
    applyStyle();
    updateGeometry();
    update();
}

void StyledButton::applyStyle()
{
    switch (m_style) {
    case ButtonStyle::AlwaysBlue: {
        auto* shadow = new QGraphicsDropShadowEffect(this);
        theme::followAccent(
            shadow, [shadow] { shadow->setColor(theme::withOpacity(theme::accent(), 0.25)); });
        shadow->setBlurRadius(14); // Qt's blur radius is a diameter-like extent: 2 × 7
        shadow->setOffset(0, 4);
        setGraphicsEffect(shadow);
        break;
    }
    case ButtonStyle::BorderedProminent:
        setFont(theme::systemFont(13));
        break;
    case ButtonStyle::Plain:
        m_textColor = theme::secondaryLabel();
        break;
    }
}

void StyledButton::setSymbol(const QString& symbolName)
{
    m_symbol = symbolName;
    updateGeometry();
    update();
}

void StyledButton::setMinimumLabelWidth(int width)
{
    m_minLabelWidth = width;
    updateGeometry();
}

void StyledButton::setStretchLabel(bool stretch)
{
    setSizePolicy(stretch ? QSizePolicy::Expanding : QSizePolicy::Fixed, QSizePolicy::Fixed);
    updateGeometry();
}

void StyledButton::setLabelFont(const QFont& f)
{
    setFont(f);
    updateGeometry();
}

void StyledButton::setTextColor(const QColor& colour)
{
    m_textColor = colour;
    update();
}

QMargins StyledButton::padding() const
{
    switch (m_style) {
    case ButtonStyle::AlwaysBlue:
        return {16, 8, 16, 8};
    case ButtonStyle::BorderedProminent:
        return {14, 7, 14, 7};
    case ButtonStyle::Plain:
        return {2, 2, 2, 2};
    }
    return {};
}

QSize StyledButton::labelSize() const
{
    const QFontMetrics fm(font());
    int width = fm.horizontalAdvance(text());
    int height = fm.height();
    if (!m_symbol.isEmpty())
        width += fm.height() + kSymbolGap;
    return {qMax(width, m_minLabelWidth), height};
}

QSize StyledButton::sizeHint() const
{
    const QMargins m = padding();
    const QSize label = labelSize();
    return {label.width() + m.left() + m.right(), label.height() + m.top() + m.bottom()};
}

QSize StyledButton::minimumSizeHint() const
{
    return sizeHint();
}

qreal StyledButton::paintOpacity() const
{
    if (m_style == ButtonStyle::AlwaysBlue)
        return isDown() ? 0.85 : 1.0;
    if (m_style == ButtonStyle::BorderedProminent)
        return isDown() ? 0.8 : 1.0;
    return isDown() ? 0.6 : 1.0;
}

void StyledButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(paintOpacity());
    const QRectF box = QRectF(rect());

    QColor labelColour = theme::white();
    if (m_style == ButtonStyle::AlwaysBlue) {
        QPainterPath path;
        path.addRoundedRect(box, kBlueRadius, kBlueRadius);
        p.fillPath(path, theme::accent());
    } else if (m_style == ButtonStyle::BorderedProminent) {
        QPainterPath path;
        path.addRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), kProminentRadius, kProminentRadius);
        p.fillPath(path, theme::accent());
    } else {
        labelColour = m_textColor.isValid() ? m_textColor : palette().color(QPalette::ButtonText);
    }

    // Only after keyboard use; a click leaves no ring behind.
    if (focusring::visible(this)) {
        if (m_style == ButtonStyle::Plain)
            focusring::draw(p, box, 4);
        else if (m_style == ButtonStyle::AlwaysBlue)
            focusring::draw(p, box.adjusted(2, 2, -2, -2), kBlueRadius - 2);
        else
            focusring::draw(p, box.adjusted(2, 2, -2, -2), kProminentRadius - 2);
    }

    // The label (symbol and text) is centred inside the padded area.
    const QMargins m = padding();
    const QRect inner = rect().marginsRemoved(m);
    const QFontMetrics fm(font());
    const int textWidth = fm.horizontalAdvance(text());
    const int symbolSide = m_symbol.isEmpty() ? 0 : fm.height();
    const int contentWidth = textWidth + (symbolSide ? symbolSide + kSymbolGap : 0);
    int x = inner.x() + (inner.width() - contentWidth) / 2;
    if (symbolSide) {
        // At 16 px the symbols' lines fall on whole pixels; smaller text gets a smaller one.
        const int side = qMin(kCrispSymbol, symbolSide - 2 * (symbolSide < kCrispSymbol));
        const QPixmap glyph = theme::symbol(m_symbol, side, labelColour, devicePixelRatioF());
        p.drawPixmap(x + (symbolSide - side) / 2, inner.y() + (inner.height() - side) / 2, glyph);
        x += symbolSide + kSymbolGap;
    }
    p.setPen(labelColour);
    p.setFont(font());
    p.drawText(QRect(x, inner.y(), textWidth + 1, inner.height()), Qt::AlignCenter, text());
}

void StyledButton::keyPressEvent(QKeyEvent* event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && event->modifiers() == Qt::NoModifier) {
        if (m_activatesOnReturn) {
            animateClick();
            return;
        }
        event->ignore();
        return;
    }
    QPushButton::keyPressEvent(event);
}

StyledButton* skipButton(const QString& title, QWidget* parent)
{
    auto* skip = new StyledButton(ButtonStyle::Plain, title, parent);
    skip->setObjectName(QStringLiteral("skipButton"));
    skip->setTextColor(theme::secondaryLabel());
    return skip;
}

} // namespace marten
