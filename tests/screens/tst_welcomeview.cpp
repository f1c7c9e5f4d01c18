#include "media/GIFWebView.h"
#include "platform/fake/Fakes.h"
#include "screens/WelcomeView.h"
#include "support/TestEnv.h"
#include "ui/Spinner.h"
#include "ui/Theme.h"

#include <QFutureWatcher>
#include <QLabel>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

using namespace marten;

class tst_WelcomeView : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_resources; // the fake installed resource folder
    std::unique_ptr<fake::Services> m_services;

    static QString glowy() { return QStringLiteral(MARTEN_SOURCE_DIR "/assets/glowy.gif"); }
    QString resource(const QString& name) const { return m_resources->filePath(name); }

    void addGif() { QVERIFY(QFile::copy(glowy(), resource("glowy.gif"))); }
    void addPng(QSize size = {400, 100})
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(resource("glowy.png")));
    }
    std::unique_ptr<WelcomeView> build(Variant variant = Variant::Full, QWidget* parent = nullptr)
    {
        const ScreenContext context{traitsFor(variant), m_services->platform};
        return std::make_unique<WelcomeView>(context, parent);
    }
    QStringList gifLines() const { return m_services->console.lines().filter("GIF found at: "); }

private slots:
    void init()
    {
        m_resources = std::make_unique<QTemporaryDir>();
        m_services = std::make_unique<fake::Services>();
        m_services->platform.assets = {m_resources->path() + "/no-home", {}, m_resources->path()};
    }

    void choosesTheFormFromWhatExists_data()
    {
        QTest::addColumn<bool>("gif");
        QTest::addColumn<bool>("png");
        QTest::addColumn<int>("form");
        QTest::newRow("both") << true << true << int(WelcomeView::AnimationForm::Gif);
        QTest::newRow("gif only") << true << false << int(WelcomeView::AnimationForm::Gif);
        QTest::newRow("png only") << false << true << int(WelcomeView::AnimationForm::StillImage);
        QTest::newRow("neither") << false << false << int(WelcomeView::AnimationForm::Symbol);
    }
    void choosesTheFormFromWhatExists()
    {
        QFETCH(bool, gif);
        QFETCH(bool, png);
        QFETCH(int, form);
        if (gif)
            addGif();
        if (png)
            addPng();
        auto view = build();
        QCOMPARE(int(view->animationForm()), form);
        QCOMPARE(bool(view->findChild<GIFWebView*>()), gif);
        QCOMPARE(bool(view->findChild<QFutureWatcherBase*>()), !gif && png);
        QCOMPARE(bool(view->findChild<QLabel*>("symbol:mic.fill")), !gif && !png);
    }

    // Nothing is remembered: the next build looks again.
    void eachBuildLooksAgain()
    {
        QCOMPARE(build()->animationForm(), WelcomeView::AnimationForm::Symbol);
        addPng();
        QCOMPARE(build()->animationForm(), WelcomeView::AnimationForm::StillImage);
        addGif();
        QCOMPARE(build()->animationForm(), WelcomeView::AnimationForm::Gif);
        QVERIFY(QFile::remove(resource("glowy.gif")));
        QVERIFY(QFile::remove(resource("glowy.png")));
        QCOMPARE(build()->animationForm(), WelcomeView::AnimationForm::Symbol);
    }

    void theGifAreaLogsEachTimeItComesOnScreen()
    {
        addGif();
        auto view = build();
        QWidget* area = view->animationArea();
        QCOMPARE(area->size(), QSize(200, 200));
        QCOMPARE(area->findChild<GIFWebView*>()->gifURL(),
                 QUrl::fromLocalFile(resource("glowy.gif")));
        QVERIFY(gifLines().isEmpty());
        view->show();
        QCOMPARE(gifLines(), QStringList{"GIF found at: " + resource("glowy.gif")});
        view->hide();
        view->show();
        QCOMPARE(gifLines().size(), 2);
        QCOMPARE(m_services->console.lines().size(), 2); // and nothing else
    }

    // The still image replaces the spinner once decoded, stretched or shrunk to fit.
    void theStillImageFitsTheSquare_data()
    {
        QTest::addColumn<QSize>("imageSize");
        QTest::addColumn<QRect>("shown");
        QTest::newRow("large") << QSize(400, 100) << QRect(0, 75, 200, 50);
        QTest::newRow("small") << QSize(20, 40) << QRect(50, 0, 100, 200);
    }
    void theStillImageFitsTheSquare()
    {
        QFETCH(QSize, imageSize);
        QFETCH(QRect, shown);
        addPng(imageSize);
        auto view = build();
        QWidget* area = view->animationArea();
        QCOMPARE(area->size(), QSize(200, 200));
        QVERIFY(area->findChild<Spinner*>());
        view->show();
        QTRY_VERIFY(area->findChild<QLabel*>("welcomeStillImage"));
        QVERIFY(!area->findChild<Spinner*>());
        QCOMPARE(area->findChild<QLabel*>("welcomeStillImage")->geometry(), shown);
    }

    void anUnreadableStillImageKeepsTheSpinner()
    {
        test::writeFile(resource("glowy.png"), "not a png");
        auto view = build();
        view->show();
        auto* watcher = view->findChild<QFutureWatcherBase*>();
        QVERIFY(watcher);
        QTRY_VERIFY(watcher->isFinished());
        QCoreApplication::processEvents();
        QVERIFY(view->findChild<Spinner*>());
        QVERIFY(!view->findChild<QLabel*>("welcomeStillImage"));
    }

    void layoutIsACentredColumn_data()
    {
        QTest::addColumn<bool>("gif");
        QTest::newRow("gif") << true;
        QTest::newRow("symbol") << false;
    }
    void layoutIsACentredColumn()
    {
        QFETCH(bool, gif);
        if (gif)
            addGif();
        auto view = build();
        view->resize(600, view->sizeHint().height());
        view->show();
        auto* title = view->findChild<QLabel*>("welcomeTitle");
        auto* tagline = view->findChild<QLabel*>("welcomeTagline");
        QWidget* area = view->animationArea();
        QCOMPARE(title->text(), QStringLiteral("Welcome to Marten"));
        QCOMPARE(tagline->text(), QStringLiteral("speak to type, anywhere"));
        QCOMPARE(title->geometry().top() - area->geometry().bottom() - 1, 24);
        QCOMPARE(tagline->geometry().top() - title->geometry().bottom() - 1, 24);
        QCOMPARE(area->geometry().center().x(), 300 - 1);
        QVERIFY(qAbs(title->geometry().center().x() - 299) <= 1);
        QVERIFY(qAbs(tagline->geometry().center().x() - 299) <= 1);
        QCOMPARE(area->height(), gif ? 200 : 80); // the symbol is only as tall as itself
        QCOMPARE(title->font().pixelSize(), theme::pixelSize(theme::TextStyle::LargeTitle));
        QCOMPARE(title->font().weight(), QFont::Bold);
        QCOMPARE(tagline->font().pixelSize(), theme::pixelSize(theme::TextStyle::Title2));
        QCOMPARE(tagline->palette().color(QPalette::WindowText), theme::secondaryLabel());
    }

    // The full program's title takes the step area's colour; the simple one sets black.
    void titleColourPerVariant()
    {
        QWidget stepArea;
        QPalette red = stepArea.palette();
        red.setColor(QPalette::WindowText, Qt::red);
        stepArea.setPalette(red);
        auto full = build(Variant::Full, &stepArea);
        auto simple = build(Variant::Simple, &stepArea);
        QCOMPARE(full->findChild<QLabel*>("welcomeTitle")->palette().color(QPalette::WindowText),
                 QColor(Qt::red));
        QCOMPARE(simple->findChild<QLabel*>("welcomeTitle")->palette().color(QPalette::WindowText),
                 theme::black());
    }
};

MARTEN_TEST_MAIN(tst_WelcomeView)
#include "tst_welcomeview.moc"
