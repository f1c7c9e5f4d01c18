#pragma once

#include "core/platform/AccentColourSource.h"

#include <QDBusConnection>

#include <functional>
#include <memory>

class QDBusVariant;
class QDBusPendingCallWatcher;

namespace marten {

// The accent colour from the desktop's settings portal: org.freedesktop.appearance
// accent-color, else KDE's AccentColor (org.kde.kdeglobals.General), followed through
// SettingChanged. The bus is connected on a thread of its own and every call is
// asynchronous, so the main thread never waits for the bus or the portal.
class PortalAccentColour final : public AccentColourSource {
    Q_OBJECT
public:
    using Connector = std::function<QDBusConnection()>;

    explicit PortalAccentColour(Connector connect = &QDBusConnection::sessionBus,
                                QObject* parent = nullptr);
    ~PortalAccentColour() override;
    PortalAccentColour(const PortalAccentColour&) = delete;
    PortalAccentColour& operator=(const PortalAccentColour&) = delete;

    void start() override;
    // True while the connection made on start() has not returned. It cannot be called off: a
    // process that ends meanwhile must leave without waiting for Qt's bus thread.
    bool isWaitingForBus() const;

    // A setting's value as the portal sends it, variants within variants unwrapped: Read
    // wraps it twice, ReadAll and SettingChanged once. None when it is not a colour.
    static std::optional<quint32> appearanceColour(const QVariant& value); // (ddd), 0 to 1
    static std::optional<quint32> kdeColour(const QVariant& value);        // "r,g,b", "#rrggbb"

private slots:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    struct Attempt;

    void connected(const QDBusConnection& connection);
    void readAllAnswered(QDBusPendingCallWatcher* call);
    void readEach();
    void take(const QString& group, const QString& key, const QVariant& value);
    void publish();

    Connector m_connect;
    std::shared_ptr<Attempt> m_attempt;
    QDBusConnection m_connection{QString()};
    std::optional<quint32> m_appearance;
    std::optional<quint32> m_kde;
    int m_pendingReads = 0;
    bool m_published = false;
    std::optional<quint32> m_last;
};

} // namespace marten
