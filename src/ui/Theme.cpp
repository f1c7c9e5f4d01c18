#include "ui/Theme.h"

#include "ui/IconLabel.h"

#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace marten::theme {

QColor black()
{
    return QColor(0, 0, 0);
}
QColor white()
{
    return QColor(255, 255, 255);
}
QColor secondaryLabel()
{
    return QColor(0, 0, 0, 128);
}
QColor gray()
{
    return QColor(0x8E, 0x8E, 0x93);
}
QColor green()
{
    return QColor(0x34, 0xC7, 0x59);
}
QColor orange()
{
    return QColor(0xFF, 0x95, 0x00);
}
QColor red()
{
    return QColor(0xFF, 0x3B, 0x30);
}
QColor yellow()
{
    return QColor(0xFF, 0xCC, 0x00);
}

QColor withOpacity(QColor colour, qreal opacity)
{
    colour.setAlphaF(colour.alphaF() * opacity);
    return colour;
}

int pixelSize(TextStyle style)
{
    switch (style) {
    case TextStyle::LargeTitle:
        return 26;
    case TextStyle::Title:
        return 22;
    case TextStyle::Title2:
        return 17;
    case TextStyle::Title3:
        return 15;
    case TextStyle::Headline:
    case TextStyle::Body:
        return 13;
    case TextStyle::Callout:
        return 12;
    case TextStyle::Caption:
        return 10;
    }
    return 13;
}

QFont systemFont(int size, QFont::Weight weight)
{
    QFont f;
    f.setFamilies({QStringLiteral("Inter"), QStringLiteral("Noto Color Emoji")});
    f.setPixelSize(size);
    f.setWeight(weight);
    return f;
}

QFont font(TextStyle style, QFont::Weight weight)
{
    if (style == TextStyle::Headline && weight == QFont::Normal)
        weight = QFont::Bold;
    return systemFont(pixelSize(style), weight);
}

void apply(QApplication& app)
{
    keepFonts(app);
    QPalette palette = app.palette();
    palette.setColor(QPalette::Window, white());
    palette.setColor(QPalette::Base, white());
    palette.setColor(QPalette::WindowText, black());
    palette.setColor(QPalette::Text, black());
    palette.setColor(QPalette::ButtonText, black());
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 64));
    palette.setColor(QPalette::Highlight, accent());
    // Disabled text (a menu's Redo or Paste, say) is grey and flat in every theme: the
    // secondary label colour, with the etched highlight some styles draw under it made the
    // same as the background.
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, secondaryLabel());
    palette.setColor(QPalette::Disabled, QPalette::Light, white());
    app.setPalette(palette);
}

namespace {

// The program's symbol names mapped to bootstrap-icons files.
const QHash<QString, QString>& symbolFiles()
{
    static const QHash<QString, QString> files{
        {QStringLiteral("mic.fill"), QStringLiteral("mic-fill")},
        {QStringLiteral("lock.shield"), QStringLiteral("shield-lock")},
        {QStringLiteral("lock.shield.fill"), QStringLiteral("shield-lock-fill")},
        {QStringLiteral("keyboard"), QStringLiteral("keyboard")},
        {QStringLiteral("text.cursor"), QStringLiteral("cursor-text")},
        {QStringLiteral("gear"), QStringLiteral("gear")},
        {QStringLiteral("checkmark.circle.fill"), QStringLiteral("check-circle-fill")},
        {QStringLiteral("chevron.left"), QStringLiteral("chevron-left")},
        {QStringLiteral("globe"), QStringLiteral("globe")},
        {QStringLiteral("creditcard"), QStringLiteral("credit-card")},
        {QStringLiteral("applelogo"), QStringLiteral("apple")},
        {QStringLiteral("quote.bubble"), QStringLiteral("chat-quote")},
        {QStringLiteral("google"), QStringLiteral("google")},
        {QStringLiteral("facebook"), QStringLiteral("facebook")},
        {QStringLiteral("circle.fill"), QStringLiteral("circle-fill")},
        {QStringLiteral("person.crop.circle"), QStringLiteral("person-circle")},
        {QStringLiteral("checkmark.seal.fill"), QStringLiteral("patch-check-fill")},
    };
    return files;
}

// Draws an SVG symbol as a mask (alpha only) into `rect` of `painter`.
void drawSvg(QPainter& painter, const QString& file, const QRectF& rect)
{
    QSvgRenderer renderer(QStringLiteral(":/symbols/%1.svg").arg(file));
    if (renderer.isValid())
        renderer.render(&painter, rect);
}

// A square mask of the symbol; composites are built from two bootstrap-icons shapes.
QImage symbolMask(const QString& name, int side)
{
    QImage mask(side, side, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF full(0, 0, side, side);
    if (name == QLatin1String("mic.circle.fill")) {
        // Filled disc with the microphone cut out of it.
        drawSvg(p, QStringLiteral("circle-fill"), full);
        p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        const qreal inner = side * 0.56;
        drawSvg(p, QStringLiteral("mic-fill"),
                QRectF((side - inner) / 2, (side - inner) / 2, inner, inner));
    } else if (name == QLatin1String("person.crop.circle.badge.checkmark")) {
        // Person in a circle, with a check badge at the bottom right.
        const qreal body = side * 0.84;
        drawSvg(p, QStringLiteral("person-circle"), QRectF(0, 0, body, body));
        const qreal badge = side * 0.46;
        const QRectF badgeRect(side - badge, side - badge, badge, badge);
        p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(badgeRect.adjusted(-side * 0.05, -side * 0.05, side * 0.05, side * 0.05));
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        drawSvg(p, QStringLiteral("check-circle-fill"), badgeRect);
    } else {
        const QString file = symbolFiles().value(name);
        if (!file.isEmpty())
            drawSvg(p, file, full);
    }
    return mask;
}

} // namespace

QPixmap symbol(const QString& name, int pixelHeight, const QColor& colour, qreal dpr)
{
    // Painted often (every repaint of a button or label), drawn from SVG once per look.
    const int side = qMax(1, qRound(pixelHeight * dpr));
    const QString key = QStringLiteral("marten-symbol/%1/%2/%3/%4")
                            .arg(name)
                            .arg(side)
                            .arg(colour.rgba(), 8, 16, QLatin1Char('0'))
                            .arg(dpr);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    QImage image = symbolMask(name, side);
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(image.rect(), colour);
    p.end();
    pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(dpr);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QLabel* textLabel(const QString& text, TextStyle style, QWidget* parent, QFont::Weight weight,
                  const QColor& colour)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font(style, weight));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    if (colour.isValid()) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, colour);
        label->setPalette(pal);
    }
    return label;
}

QWidget* iconLabel(const QString& symbolName, const QString& text, TextStyle style,
                   const QColor& colour, QWidget* parent)
{
    return new IconLabel(symbolName, text, style, colour, parent);
}

} // namespace marten::theme
