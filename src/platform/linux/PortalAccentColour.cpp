#include "platform/linux/PortalAccentColour.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QStringList>

#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>

namespace marten {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kAppearance = QStringLiteral("org.freedesktop.appearance");
const QString kAppearanceKey = QStringLiteral("accent-color");
const QString kKde = QStringLiteral("org.kde.kdeglobals.General");
const QString kKdeKey = QStringLiteral("AccentColor");

QVariant unwrapped(QVariant value)
{
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

quint32 rgb(int red, int green, int blue)
{
    return (quint32(red) << 16) | (quint32(green) << 8) | quint32(blue);
}

} // namespace

// What the main thread and the connecting thread share. The anchor is cleared, under the
// mutex, when the reader goes away, so a late connection is simply dropped.
struct PortalAccentColour::Attempt {
    std::mutex mutex;
    PortalAccentColour* anchor = nullptr;
    std::atomic<bool> returned{false};
};

PortalAccentColour::PortalAccentColour(Connector connect, QObject* parent)
    : AccentColourSource(parent), m_connect(std::move(connect))
{
}

PortalAccentColour::~PortalAccentColour()
{
    if (m_attempt) {
        const std::lock_guard<std::mutex> lock(m_attempt->mutex);
        m_attempt->anchor = nullptr;
    }
}

void PortalAccentColour::start()
{
    if (m_attempt)
        return;
    m_attempt = std::make_shared<Attempt>();
    m_attempt->anchor = this;
    // Detached: nothing waits for this thread, which a silent bus may keep for good.
    std::thread([attempt = m_attempt, connect = m_connect] {
        const QDBusConnection connection = connect();
        attempt->returned = true;
        const std::lock_guard<std::mutex> lock(attempt->mutex);
        if (!attempt->anchor || !connection.isConnected())
            return;
        // Subscribed here, where waiting on the bus harms nothing; the signal is delivered on
        // the reader's own thread.
        QDBusConnection(connection)
            .connect(kService, kPath, kInterface, QStringLiteral("SettingChanged"), attempt->anchor,
                     SLOT(settingChanged(QString, QString, QDBusVariant)));
        QMetaObject::invokeMethod(
            attempt->anchor,
            [anchor = attempt->anchor, connection] { anchor->connected(connection); },
            Qt::QueuedConnection);
    }).detach();
}

bool PortalAccentColour::isWaitingForBus() const
{
    return m_attempt && !m_attempt->returned.load();
}

void PortalAccentColour::connected(const QDBusConnection& connection)
{
    m_connection = connection;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("ReadAll"));
    call << QStringList{kAppearance, kKde};
    auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            &PortalAccentColour::readAllAnswered);
}

void PortalAccentColour::readAllAnswered(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    const QDBusMessage reply = call->reply();
    // a{sa{sv}}: namespace -> key -> value.
    QMap<QString, QVariantMap> groups;
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        reply.arguments().constFirst().value<QDBusArgument>() >> groups;
    // The front end answers ReadAll with nothing when its back end failed it; then each key
    // is asked for alone, as it is from a portal without ReadAll.
    if (!groups.value(kAppearance).contains(kAppearanceKey) &&
        !groups.value(kKde).contains(kKdeKey)) {
        readEach();
        return;
    }
    for (auto group = groups.cbegin(); group != groups.cend(); ++group)
        for (auto key = group->cbegin(); key != group->cend(); ++key)
            take(group.key(), key.key(), key.value());
    publish();
}

void PortalAccentColour::readEach()
{
    for (const auto& [group, key] : {std::pair{kAppearance, kAppearanceKey}, {kKde, kKdeKey}}) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Read"));
        call << group << key;
        auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call), this);
        ++m_pendingReads;
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this, group, key](QDBusPendingCallWatcher* answered) {
                    answered->deleteLater();
                    const QDBusPendingReply<QDBusVariant> reply = *answered;
                    if (!reply.isError())
                        take(group, key, QVariant::fromValue(reply.value()));
                    if (--m_pendingReads == 0)
                        publish();
                });
    }
}

void PortalAccentColour::settingChanged(const QString& group, const QString& key,
                                        const QDBusVariant& value)
{
    take(group, key, QVariant::fromValue(value));
    if (m_published)
        publish();
}

void PortalAccentColour::take(const QString& group, const QString& key, const QVariant& value)
{
    if (group == kAppearance && key == kAppearanceKey)
        m_appearance = appearanceColour(value);
    else if (group == kKde && key == kKdeKey)
        m_kde = kdeColour(value);
}

void PortalAccentColour::publish()
{
    const std::optional<quint32> colour = m_appearance ? m_appearance : m_kde;
    if (m_published && colour == m_last)
        return;
    m_published = true;
    m_last = colour;
    emit changed(colour);
}

std::optional<quint32> PortalAccentColour::appearanceColour(const QVariant& value)
{
    const QVariant inner = unwrapped(value);
    if (inner.userType() != qMetaTypeId<QDBusArgument>())
        return std::nullopt;
    const auto argument = inner.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("(ddd)"))
        return std::nullopt;
    double channels[3] = {};
    argument.beginStructure();
    argument >> channels[0] >> channels[1] >> channels[2];
    argument.endStructure();
    int bytes[3] = {};
    for (int i = 0; i < 3; ++i) {
        // Outside 0 to 1 means the desktop has no accent colour.
        if (!(channels[i] >= 0.0 && channels[i] <= 1.0))
            return std::nullopt;
        bytes[i] = int(std::lround(channels[i] * 255.0));
    }
    return rgb(bytes[0], bytes[1], bytes[2]);
}

std::optional<quint32> PortalAccentColour::kdeColour(const QVariant& value)
{
    const QString text = unwrapped(value).toString().trimmed();
    if (text.startsWith(QLatin1Char('#')) && text.size() == 7) {
        bool ok = false;
        const uint parsed = text.mid(1).toUInt(&ok, 16);
        return ok ? std::optional<quint32>(parsed) : std::nullopt;
    }
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 3 && parts.size() != 4) // KDE may add an alpha channel
        return std::nullopt;
    int bytes[3] = {};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        bytes[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok || bytes[i] < 0 || bytes[i] > 255)
            return std::nullopt;
    }
    return rgb(bytes[0], bytes[1], bytes[2]);
}

} // namespace marten
