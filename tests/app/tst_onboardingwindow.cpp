#include "app/FTUEView.h"
#include "core/OnboardingFlow.h"
#include "support/TestEnv.h"
#include "ui/FocusRing.h"
#include "ui/NavigationControls.h"
#include "ui/ProgressBar.h"
#include "ui/WindowIcon.h"

#include <QDir>

#include <sys/stat.h>

using namespace marten;

// Writes a `side` px PNG (or, for .svg, one of the built-in symbols) to `path`.
static void writeIcon(const QString& path, int side = 48)
{
    QDir().mkpath(QFileInfo(path).path());
    if (path.endsWith(".svg"))
        return void(QFile::copy(":/symbols/gear.svg", path));
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::red);
    image.save(path);
}

// The widths of images or sizes, smallest first.
template <typename Sized> static QList<int> widths(const QList<Sized>& items)
{
    QList<int> sides;
    for (const Sized& item : items)
        sides.append(item.width());
    std::sort(sides.begin(), sides.end());
    return sides;
}

// Pixels of the window that are (nearly) the focus ring's colour.
static int ringPixels(QWidget& window)
{
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    const QRgb ring = focusring::colour().rgb();
    return int(std::count_if(pixels, pixels + image.width() * image.height(), [&](QRgb c) {
        return qAbs(qRed(c) - qRed(ring)) + qAbs(qGreen(c) - qGreen(ring)) +
                   qAbs(qBlue(c) - qBlue(ring)) <=
               12;
    }));
}

class TestOnboardingWindow final : public QObject {
    Q_OBJECT
private slots:
    // Centred on the available area, below a menu bar or on a screen smaller than the window.
    void centring()
    {
        const QSizeF size(809, 500);
        for (const QRectF available : {QRectF(0, 25, 1440, 900), QRectF(100, 50, 640, 400)})
            QCOMPARE(QRectF(OnboardingWindow::centredOrigin(available, size), size).center(),
                     available.center());
    }

    // The theme's icon, else hicolor's, from the first folder with it, unreadable ones skipped;
    // the window takes the theme's once read after the first frame.
    void windowIconFromTheThemeElseHicolorElseBuiltIn()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("a"), b = dir.filePath("b");
        writeIcon(a + "/hicolor/48x48/apps/x.png");
        writeIcon(a + "/hicolor/scalable/apps/x.svg");
        writeIcon(b + "/Mine/apps/64/x.png", 64);
        writeIcon(b + "/hicolor/32x32/apps/x.png", 32);
        const QStringList paths{a, b};
        QCOMPARE(windowicon::themeFiles(paths, "Mine", "x"),
                 QStringList{b + "/Mine/apps/64/x.png"});
        const QStringList hicolor = windowicon::themeFiles(paths, "Absent", "x");
        QCOMPARE(hicolor, QStringList({a + "/hicolor/48x48/apps/x.png",
                                       a + "/hicolor/scalable/apps/x.svg"}));

        QCOMPARE(widths(windowicon::decode(hicolor)), QList<int>({16, 32, 48, 64, 128}));
        // A FIFO in the theme's place, a file that is no picture and a huge PNG.
        const QString fifo = dir.filePath("fifo.png"), junk = dir.filePath("junk.svg"),
                      huge = dir.filePath("huge.png");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QFile(junk).open(QIODevice::WriteOnly);
        writeIcon(huge, 2048);
        QVERIFY(windowicon::decode({fifo, junk, huge}).isEmpty());

        writeIcon(dir.filePath("Mine/256x256/apps/com.marten.Onboarding.png"), 256);
        QIcon::setThemeSearchPaths({dir.path()});
        QIcon::setThemeName("Mine");
        test::OnboardingRun s(Variant::Simple);
        QVERIFY(s.ready);
        QTRY_COMPARE(widths(s.window.windowIcon().availableSizes()), QList<int>{256});
    }

    // A symbol is drawn once per name, size, colour and scale; any of them changed draws anew.
    void symbolsDrawnOncePerLook()
    {
        const QPixmap red = theme::symbol("gear", 20, Qt::red);
        QCOMPARE(theme::symbol("gear", 20, Qt::red).cacheKey(), red.cacheKey());
        const QPixmap blue = theme::symbol("gear", 20, Qt::blue),
                      other = theme::symbol("globe", 20, Qt::red);
        QCOMPARE(theme::symbol("gear", 20, Qt::red, 2).size(), QSize(40, 40));
        QCOMPARE(theme::symbol("gear", 24, Qt::red).size(), QSize(24, 24));
        QVERIFY(red.toImage() != blue.toImage() && red.toImage() != other.toImage());
    }

    // No ring until a key moves the focus; a click hides it. (Tab order: the other tests.)
    void focusRingOnlyAfterKeyboardNavigation()
    {
        test::OnboardingRun s(Variant::Full);
        QVERIFY(s.ready);
        OnboardingWindow& window = s.window;
        QTest::qWait(0);
        QCOMPARE(ringPixels(window), 0);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window.view()->stepButton());
        QVERIFY(ringPixels(window) > 20);

        QTest::mouseClick(window.findChild<ProgressBar*>(), Qt::LeftButton);
        QCOMPARE(ringPixels(window), 0);
        // Return and Enter do not press the step button (or it would be down); Ctrl+Return does.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QVERIFY(!window.view()->stepButton()->isDown() && window.flow().currentStepIndex() == 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(window.flow().currentStepIndex(), 1);
        QCOMPARE(ringPixels(window), 0);
    }
};

MARTEN_TEST_MAIN(TestOnboardingWindow)
#include "tst_onboardingwindow.moc"
