#include "core/OnboardingFlow.h"
#include "screens/StepTable.h"
#include "screens/WelcomeView.h"
#include "support/TestEnv.h"
#include "ui/GIFMovieView.h"
#include "ui/Spinner.h"

#include <QFutureWatcher>
#include <QLabel>
#include <QtTest>

using namespace marten;
using Form = WelcomeView::AnimationForm;

class TestWelcomeView final : public QObject {
    Q_OBJECT

private slots:
    void showsTheFormOfWhatExistsWhenBuilt_data()
    {
        using enum Form;
        QTest::addColumn<Form>("form");   // and so whether glowy.gif is there
        QTest::addColumn<QSize>("png");   // invalid: no glowy.png; empty: an unreadable one
        QTest::addColumn<QRect>("still"); // where the decoded image ends up
        QTest::newRow("gif and png") << GIF << QSize(40, 40) << QRect();
        QTest::newRow("large png") << StillImage << QSize(400, 100) << QRect(0, 75, 200, 50);
        QTest::newRow("small png") << StillImage << QSize(20, 40) << QRect(50, 0, 100, 200);
        QTest::newRow("unreadable png") << StillImage << QSize(0, 0) << QRect();
        QTest::newRow("neither") << Symbol << QSize() << QRect();
    }
    void showsTheFormOfWhatExistsWhenBuilt()
    {
        QFETCH(Form, form);
        QFETCH(QSize, png);
        QFETCH(QRect, still);
        QTemporaryDir resources;
        const QString gif = resources.filePath("glowy.gif");
        QVERIFY(form != Form::GIF || QFile::copy(MARTEN_SOURCE_DIR "/assets/glowy.gif", gif));
        QImage image(png, QImage::Format_RGB32);
        image.fill(Qt::blue);
        const QString pngPath = resources.filePath("glowy.png"); // unreadable: this source file
        QVERIFY(!png.isValid() || image.save(pngPath) ||
                QFile::copy(MARTEN_SOURCE_DIR "/tests/screens/tst_welcomeview.cpp", pngPath));
        fake::Services services;
        services.platform.assets = {resources.filePath("no-home"), {}, resources.path()};
        OnboardingFlow flow(onboardingSteps(), Variant::Full, services.platform);
        WelcomeView view({flow.traits(), services.platform, flow});
        QCOMPARE(bool(view.findChild<GIFMovieView*>()), form == Form::GIF);
        QCOMPARE(bool(view.findChild<QWidget*>("symbol:mic.fill")), form == Form::Symbol);
        QCOMPARE(bool(view.findChild<Spinner*>()), form == Form::StillImage);
        for (const bool visible : {true, false, true}) // on screen twice: two lines, nothing else
            view.setVisible(visible);
        QCOMPARE(services.console.lines(),
                 QStringList(form == Form::GIF ? 2 : 0, "GIF found at: " + gif));

        // The still image's spinner stays until it is decoded, and for good when it cannot be.
        if (form != Form::StillImage)
            return;
        QSignalSpy decoded(view.findChild<QFutureWatcherBase*>(), &QFutureWatcherBase::finished);
        QTRY_COMPARE(decoded.count(), 1);
        const auto* label = view.findChild<QLabel*>("welcomeStillImage");
        QTRY_COMPARE(label ? label->geometry() : QRect(), still);
        QCOMPARE(bool(view.findChild<Spinner*>()), still.isEmpty());
    }
};

MARTEN_TEST_MAIN(TestWelcomeView)
#include "tst_welcomeview.moc"
