// Renders a one-colour SVG glyph into a square PNG, in the colour given.
//
//   make-logo INPUT.svg '#RRGGBB' SIZE OUTPUT.png
//
// Used at build time to make the social sign-in logos from bootstrap-icons.

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    // A build step: it never shows anything, whatever display the build runs under.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: make-logo INPUT.svg '#RRGGBB' SIZE OUTPUT.png\n");
        return 2;
    }
    const QColor colour = QColor::fromString(args.at(2));
    bool sizeOk = false;
    const int side = args.at(3).toInt(&sizeOk);
    if (!colour.isValid() || !sizeOk || side < 1 || side > 1024) {
        std::fprintf(stderr, "make-logo: bad colour or size\n");
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "make-logo: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }

    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Fit the glyph's view box into the square, centred, keeping its proportions.
    const QSizeF box = renderer.viewBoxF().size().scaled(QSizeF(side, side), Qt::KeepAspectRatio);
    renderer.render(&painter, QRectF((side - box.width()) / 2, (side - box.height()) / 2,
                                     box.width(), box.height()));
    // The glyph is used as a mask: keep its coverage, take the colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), colour);
    painter.end();

    if (!image.save(args.at(4), "PNG")) {
        std::fprintf(stderr, "make-logo: cannot write %s\n", qPrintable(args.at(4)));
        return 1;
    }
    return 0;
}
