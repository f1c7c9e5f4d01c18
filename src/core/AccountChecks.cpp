#include "core/AccountChecks.h"

#include "core/platform/Console.h"

#include "core/RegularFile.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace marten {
namespace {

const QString kLocalFile = QStringLiteral(".marten_auth_local.json");
const QString kTokenFile = QStringLiteral(".marten_auth_token.json");

// The value stored under `key` in the JSON object of the file, or nothing when the file is
// missing, unreadable, not a JSON object, or lacks the key.
std::optional<QJsonValue> readKey(const QString& path, const QString& key)
{
    if (path.isEmpty())
        return std::nullopt;
    const Result<QByteArray> bytes = readRegularFile(path, AccountChecks::maxFileSize);
    if (!bytes.ok())
        return std::nullopt;
    return AccountChecks::valueIn(bytes.value(), key);
}

} // namespace

std::optional<QJsonValue> AccountChecks::valueIn(const QByteArray& bytes, const QString& key)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject object = doc.object();
    const auto it = object.constFind(key);
    if (it == object.constEnd())
        return std::nullopt;
    return it.value();
}

AccountChecks::AccountChecks(Variant variant, QString homeDir, Console& console)
    : m_variant(variant), m_home(std::move(homeDir)), m_console(console)
{
}

QString AccountChecks::accountFile(const QString& name) const
{
    // Without an absolute home the names would resolve against "/" or the working folder.
    if (!m_home.startsWith(QLatin1Char('/')))
        return {};
    return m_home + QLatin1Char('/') + name;
}

bool AccountChecks::checkAuthentication() const
{
    const bool strict = traitsFor(m_variant).tokenMustBeNonEmptyString;
    auto counts = [strict](const std::optional<QJsonValue>& value) {
        if (!value)
            return false;
        if (!strict)
            return true;
        return value->isString() && !value->toString().isEmpty();
    };
    const QString found = strict ? QStringLiteral("User is authenticated (found valid token in %1)")
                                 : QStringLiteral("User is authenticated (found token in %1)");

    if (counts(readKey(accountFile(kLocalFile), QStringLiteral("token")))) {
        m_console.line(found.arg(kLocalFile));
        return true;
    }
    if (counts(readKey(accountFile(kTokenFile), QStringLiteral("access_token")))) {
        m_console.line(found.arg(kTokenFile));
        return true;
    }
    m_console.line(QStringLiteral("User is not authenticated"));
    return false;
}

bool AccountChecks::checkSubscription() const
{
    const std::optional<QJsonValue> flag =
        readKey(accountFile(kLocalFile), QStringLiteral("has_subscription"));
    if (flag && flag->isBool()) {
        const bool subscribed = flag->toBool();
        m_console.line(QStringLiteral("User subscription status: ") +
                       (subscribed ? QStringLiteral("true") : QStringLiteral("false")));
        return subscribed;
    }
    m_console.line(QStringLiteral("No subscription status found"));
    return false;
}

} // namespace marten
