// A stand-in for the main application, for demos and end-to-end tests.
//
//   marten [--overwrite] [--grant-subscription] [--delay-ms N]
//
// Listens on the session bus for the onboarding's requests and prints each one on standard
// output, one line each ("com.marten.startOAuth source=ftue"). A sign-in request writes a
// token to ~/.marten_auth_local.json (an existing file is kept unless --overwrite is given)
// and, after --delay-ms (default 2000), announces "com.marten.authCompleted". A purchase
// request sets "has_subscription" to true in that file when --grant-subscription is given.
// What it does besides printing requests goes to standard error.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTimer>
#include <QUuid>

#include <cstdio>

namespace {

const QString kPath = QStringLiteral("/com/marten/DistributedNotifications");
const QString kInterface = QStringLiteral("com.marten.DistributedNotifications");
const QString kMember = QStringLiteral("Notification");
const QString kStartOAuth = QStringLiteral("com.marten.startOAuth");
const QString kStartPurchase = QStringLiteral("com.marten.startPurchase");
const QString kAuthCompleted = QStringLiteral("com.marten.authCompleted");
constexpr int kMaxEntries = 64;

using UserInfo = QMap<QString, QString>;

void out(const QString& line)
{
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void note(const QString& line)
{
    std::fprintf(stderr, "marten: %s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

QString accountFile()
{
    return QDir::homePath() + QStringLiteral("/.marten_auth_local.json");
}

bool writeAccount(const QJsonObject& object)
{
    QSaveFile file(accountFile());
    if (!file.open(QIODevice::WriteOnly)) {
        note(QStringLiteral("cannot write %1: %2").arg(accountFile(), file.errorString()));
        return false;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(QJsonDocument(object).toJson(QJsonDocument::Compact));
    if (!file.commit()) {
        note(QStringLiteral("cannot write %1: %2").arg(accountFile(), file.errorString()));
        return false;
    }
    return true;
}

QJsonObject readAccount()
{
    QFile file(accountFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.read(1024 * 1024)).object();
}

class FakeMarten final : public QObject {
    Q_OBJECT
public:
    FakeMarten(QDBusConnection bus, bool overwrite, bool grantSubscription, int delayMs)
        : m_bus(std::move(bus)), m_overwrite(overwrite), m_grantSubscription(grantSubscription),
          m_delayMs(delayMs)
    {
    }

    bool listen()
    {
        for (const QString& name : {kStartOAuth, kStartPurchase}) {
            if (!m_bus.connect(QString(), kPath, kInterface, kMember, QStringList{name}, QString(),
                               this, SLOT(onNotification(QDBusMessage))))
                return false;
        }
        // A round trip to the bus: once it answers, our match rules are in force, so a
        // caller that waits for the "listening" line cannot lose a request.
        return m_bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus"));
    }

public slots:
    void onNotification(const QDBusMessage& message)
    {
        if (message.signature() != QLatin1String("sa{ss}"))
            return;
        const QList<QVariant> args = message.arguments();
        const QString name = args.value(0).toString();
        QStringList pairs;
        const auto map = args.value(1).value<QDBusArgument>();
        map.beginMap();
        while (!map.atEnd() && pairs.size() < kMaxEntries) {
            QString key;
            QString value;
            map.beginMapEntry();
            map >> key >> value;
            map.endMapEntry();
            pairs.append(key + QLatin1Char('=') + value);
        }
        map.endMap();
        out((QStringList{name} + pairs).join(QLatin1Char(' ')));

        if (name == kStartOAuth)
            signIn();
        else if (name == kStartPurchase)
            purchase();
    }

private:
    void signIn()
    {
        if (QFile::exists(accountFile()) && !m_overwrite) {
            note(QStringLiteral("keeping the existing %1").arg(accountFile()));
        } else {
            QJsonObject account;
            account.insert(QStringLiteral("token"),
                           QStringLiteral("fake-") +
                               QUuid::createUuid().toString(QUuid::WithoutBraces));
            if (writeAccount(account))
                note(QStringLiteral("signed in: wrote %1").arg(accountFile()));
        }
        QTimer::singleShot(m_delayMs, this, [this] {
            QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, kMember);
            signal << kAuthCompleted << QVariant::fromValue(UserInfo{});
            m_bus.send(signal);
            note(QStringLiteral("sent ") + kAuthCompleted);
        });
    }

    void purchase()
    {
        if (!m_grantSubscription)
            return;
        QJsonObject account = readAccount();
        account.insert(QStringLiteral("has_subscription"), true);
        if (writeAccount(account))
            note(QStringLiteral("subscribed: updated %1").arg(accountFile()));
    }

    QDBusConnection m_bus;
    bool m_overwrite;
    bool m_grantSubscription;
    int m_delayMs;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("marten"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stand-in main application: answers the onboarding's requests."));
    parser.addHelpOption();
    const QCommandLineOption overwrite(QStringLiteral("overwrite"),
                                       QStringLiteral("Replace an existing account file."));
    const QCommandLineOption grant(QStringLiteral("grant-subscription"),
                                   QStringLiteral("Mark the account subscribed on a purchase."));
    const QCommandLineOption delay(QStringLiteral("delay-ms"),
                                   QStringLiteral("Wait before announcing a finished sign-in."),
                                   QStringLiteral("ms"), QStringLiteral("2000"));
    parser.addOptions({overwrite, grant, delay});
    parser.process(app);
    bool delayOk = false;
    const int delayMs = parser.value(delay).toInt(&delayOk);
    if (!delayOk || delayMs < 0) {
        note(QStringLiteral("--delay-ms wants a number of milliseconds"));
        return 2;
    }

    qDBusRegisterMetaType<UserInfo>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        note(QStringLiteral("no session bus: ") + bus.lastError().message());
        return 1;
    }
    FakeMarten marten(bus, parser.isSet(overwrite), parser.isSet(grant), delayMs);
    if (!marten.listen()) {
        note(QStringLiteral("cannot listen on the session bus"));
        return 1;
    }
    note(QStringLiteral("listening on the session bus"));
    return QCoreApplication::exec();
}

#include "main.moc"
