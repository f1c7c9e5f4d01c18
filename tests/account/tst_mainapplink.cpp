#include "flow/FTUEView.h"
#include "platform/fake/Fakes.h"
#include "platform/linux/DBusNotificationCenter.h"
#include "support/TestEnv.h"

#include <QAbstractButton>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

using namespace marten;
using namespace std::chrono_literals;

namespace {

const QString kPath = QStringLiteral("/com/marten/DistributedNotifications");
const QString kInterface = QStringLiteral("com.marten.DistributedNotifications");
const QString kSentinel = QStringLiteral("test.sentinel");
const QString kReceived = QStringLiteral("Received auth completion notification from main app");

void roundTrip(const QDBusConnection& bus)
{
    bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus"));
}

// Notes each post in the console, in sequence with the flow's own lines, then sends it.
class SequencedCentre final : public NotificationCenter {
public:
    SequencedCentre(NotificationCenter& inner, Console& console)
        : m_inner(inner), m_console(console)
    {
    }
    void post(const QString& name, const UserInfo& userInfo) override
    {
        m_console.line(QStringLiteral("[post] ") + name);
        m_inner.post(name, userInfo);
    }
    void observe(const QString& name, QObject* context, Handler handler) override
    {
        m_inner.observe(name, context, std::move(handler));
    }

private:
    NotificationCenter& m_inner;
    Console& m_console;
};

// The program's own messaging on the test bus; fakes for the clock, the probe and the window.
struct Rig {
    fake::Services fakes;
    DBusNotificationCenter bus{fakes.console};
    SequencedCentre centre{bus, fakes.console};
    Platform platform{fakes.scheduler,
                      fakes.probe,
                      fakes.defaults,
                      fakes.loginItem,
                      fakes.app,
                      fakes.urls,
                      centre,
                      fakes.console,
                      {},
                      {}};
};

} // namespace

class TestMainAppLink final : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<Rig> m_rig;
    std::unique_ptr<FTUEView> m_view;
    QList<QPair<QString, UserInfo>> m_seen; // by an independent connection
    bool m_sawSentinel = false;

    void writeToken()
    {
        test::writeFile(m_home.path() + QStringLiteral("/.marten_auth_local.json"),
                        R"({"token":"t"})");
    }

    FTUEView* start()
    {
        m_view = std::make_unique<FTUEView>(Variant::Full, m_rig->platform);
        m_view->show();
        if (!QTest::qWaitFor([this] { return !m_view->isLoading(); }, 5000))
            return nullptr;
        // The completion observer is in force before anyone outside sends a notice.
        roundTrip(QDBusConnection::sessionBus());
        m_rig->fakes.console.clear();
        return m_view.get();
    }

    void goTo(FTUEStep step)
    {
        while (m_view->currentStep() && *m_view->currentStep() != step)
            m_view->nextStep();
    }

    // What the independent connection saw, once a sentinel posted after it has come in.
    QList<QPair<QString, UserInfo>> seenSoFar()
    {
        m_rig->bus.post(kSentinel, {});
        return QTest::qWaitFor([this] { return m_sawSentinel; }, 5000)
                   ? m_seen
                   : QList<QPair<QString, UserInfo>>{};
    }

public slots:
    void onSignal(const QDBusMessage& message)
    {
        const QString name = message.arguments().value(0).toString();
        UserInfo info;
        message.arguments().value(1).value<QDBusArgument>() >> info;
        if (name == kSentinel)
            m_sawSentinel = true;
        else
            m_seen.append({name, info});
    }

private slots:
    void initTestCase()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("needs a session bus: run under dbus-run-session");
        QDBusConnection listener =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("listener"));
        listener.connect(QString(), kPath, kInterface, QStringLiteral("Notification"), this,
                         SLOT(onSignal(QDBusMessage)));
        roundTrip(listener);
    }

    void init()
    {
        QFile::remove(m_home.path() + QStringLiteral("/.marten_auth_local.json"));
        m_rig = std::make_unique<Rig>();
        m_rig->platform.homeDir = m_home.path();
        m_rig->fakes.probe.trusted = true;
        m_seen.clear();
        m_sawSentinel = false;
    }

    void cleanup()
    {
        m_view.reset();
        m_rig.reset();
    }

    void request_data()
    {
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<FTUEStep>("step");
        QTest::addColumn<QByteArray>("buttonName");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("sign in") << false << FTUEStep::signIn
                                 << QByteArray("continueWithGoogleButton")
                                 << QStringList{QStringLiteral("=== handleSignIn called ==="),
                                                QStringLiteral("[post] com.marten.startOAuth"),
                                                QStringLiteral("Sent OAuth request to main app")};
        QTest::newRow("purchase") << true << FTUEStep::purchase << QByteArray("subscribeButton")
                                  << QStringList{
                                         QStringLiteral("=== handlePurchase called ==="),
                                         QStringLiteral("[post] com.marten.startPurchase"),
                                         QStringLiteral("Sent purchase request to main app")};
    }
    void request()
    {
        QFETCH(bool, signedIn);
        QFETCH(FTUEStep, step);
        QFETCH(QByteArray, buttonName);
        QFETCH(QStringList, lines);
        if (signedIn)
            writeToken();
        FTUEView* view = start();
        QVERIFY(view);
        goTo(step);
        QCOMPARE(view->currentStepIndex(), 1);
        m_rig->fakes.console.clear();

        QTest::mouseClick(view->findChild<QAbstractButton*>(QLatin1String(buttonName)),
                          Qt::LeftButton);
        QCOMPARE(m_rig->fakes.console.lines(), lines);
        const auto seen = seenSoFar();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen.first().first, lines.at(1).mid(7));
        QCOMPARE(seen.first().second,
                 (UserInfo{{QStringLiteral("source"), QStringLiteral("ftue")}}));

        m_rig->fakes.scheduler.advance(999ms);
        QCOMPARE(view->currentStepIndex(), 1);
        m_rig->fakes.scheduler.advance(1ms);
        QCOMPARE(view->currentStep(), FTUEStep::howToUse);
    }

    // Each press schedules its own advance; the second one runs past the last step.
    void twoPressesWithinASecond()
    {
        FTUEView* view = start();
        QVERIFY(view);
        goTo(FTUEStep::signIn);
        auto* google =
            view->findChild<QAbstractButton*>(QStringLiteral("continueWithGoogleButton"));
        QTest::mouseClick(google, Qt::LeftButton);
        m_rig->fakes.scheduler.advance(500ms);
        QTest::mouseClick(google, Qt::LeftButton);
        QCOMPARE(seenSoFar().size(), 2);
        m_rig->fakes.scheduler.advance(500ms);
        QCOMPARE(view->currentStepIndex(), 2);
        m_rig->fakes.scheduler.advance(500ms);
        QCOMPARE(view->currentStepIndex(), 3);
    }

    // The notice comes from another process, as the main application would send it.
    void completionFromOutside_data()
    {
        QTest::addColumn<bool>("signedInAtStart");
        QTest::addColumn<bool>("tokenOnNotice");
        QTest::addColumn<qint64>("indexAfter");
        QTest::newRow("signed in meanwhile: past sign-in") << false << true << qint64(2);
        QTest::newRow("no token: stays") << false << false << qint64(0);
        QTest::newRow("no sign-in step: stays") << true << true << qint64(0);
    }
    void completionFromOutside()
    {
        QFETCH(bool, signedInAtStart);
        QFETCH(bool, tokenOnNotice);
        QFETCH(qint64, indexAfter);
        if (QStandardPaths::findExecutable(QStringLiteral("gdbus")).isEmpty())
            QSKIP("gdbus is not installed");
        if (signedInAtStart)
            writeToken();
        FTUEView* view = start();
        QVERIFY(view);
        if (tokenOnNotice)
            writeToken();

        QCOMPARE(QProcess::execute(
                     QStringLiteral("gdbus"),
                     {QStringLiteral("emit"), QStringLiteral("--session"),
                      QStringLiteral("--object-path"), kPath, QStringLiteral("--signal"),
                      kInterface + QStringLiteral(".Notification"),
                      QStringLiteral("'com.marten.authCompleted'"), QStringLiteral("@a{ss} {}")}),
                 0);
        QTRY_VERIFY(m_rig->fakes.console.lines().contains(kReceived));
        QCOMPARE(m_rig->fakes.console.lines().first(), kReceived);
        QCOMPARE(m_rig->fakes.app.raises, 1);
        QCOMPARE(m_rig->fakes.app.lastRaised, view->window());
        QCOMPARE(view->currentStepIndex(), indexAfter);
        // One observer per appearance: the notice is handled once.
        QTest::qWait(50);
        QCOMPARE(m_rig->fakes.console.lines().count(kReceived), 1);
    }
};

MARTEN_TEST_MAIN(TestMainAppLink)
#include "tst_mainapplink.moc"
