// The yardstick: a bare Qt window of the onboarding's size that draws one line of text in
// the onboarding's typeface (with the same emoji fallback), painted once, then idle. Every
// real window draws text, so loading and shaping a font is part of the yardstick, not of
// what is measured against it.
//
//   bench_bare_window [idle seconds]
#include "FrameMark.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class BareWindow final : public QWidget {
public:
    BareWindow() { setFixedSize(809, 500); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("A bare window, one line"));
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    new FirstFrameMark(&app);
    QFont font;
    font.setFamilies({QStringLiteral("Inter"), QStringLiteral("Noto Color Emoji")});
    font.setPixelSize(13);
    QApplication::setFont(font);
    const int idleMs = argc > 1 ? std::atoi(argv[1]) * 1000 : 10000;
    BareWindow window;
    window.show();
    QTimer::singleShot(500, [&] {
        const double cpu = cpuSeconds();
        QTimer::singleShot(idleMs, [&, cpu] {
            mark("idle_cpu_percent", 100.0 * (cpuSeconds() - cpu) / (idleMs / 1000.0));
            mark("peak_rss_kib", double(peakRssKiB()));
            QApplication::quit();
        });
    });
    return QApplication::exec();
}
