// The yardstick: a bare Qt window of the onboarding's size, painted once, then idle.
#include "BenchClock.h"

#include <QApplication>
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
        QPainter(this).fillRect(rect(), Qt::white);
        if (!m_painted) {
            m_painted = true;
            mark("first_frame", monotonicSeconds());
        }
    }

private:
    bool m_painted = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
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
