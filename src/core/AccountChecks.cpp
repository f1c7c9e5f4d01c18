#include "core/AccountChecks.h"

#include "core/platform/Console.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace marten {
namespace {

const QString kLocalFile = QStringLiteral(".marten_auth_local.json");
const QString kTokenFile = QStringLiteral(".marten_auth_token.json");

// The value stored under `key` in the JSON object of the file, or nothing when the file is
// missing, unreadable, not a JSON object, or lacks the key.
std::optional<QJsonValue> readKey(const QString& path, const QString& key)
{
    const std::optional<QByteArray> bytes = AccountChecks::readSmallRegularFile(path);
    if (!bytes)
        return std::nullopt;
    return AccountChecks::valueIn(*bytes, key);
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

std::optional<QByteArray> AccountChecks::readSmallRegularFile(const QString& path)
{
    // O_NONBLOCK keeps open() from waiting for a writer on a FIFO; the fstat below then
    // rejects anything that is not a regular file.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxFileSize)
        return std::nullopt;

    QByteArray data;
    data.reserve(static_cast<qsizetype>(st.st_size));
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (n == 0)
            break;
        data.append(buffer, n);
        // The file may grow while it is read; the cap holds all the same.
        if (data.size() > maxFileSize)
            return std::nullopt;
    }
    return data;
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

    if (counts(readKey(m_home + QLatin1Char('/') + kLocalFile, QStringLiteral("token")))) {
        m_console.line(found.arg(kLocalFile));
        return true;
    }
    if (counts(readKey(m_home + QLatin1Char('/') + kTokenFile, QStringLiteral("access_token")))) {
        m_console.line(found.arg(kTokenFile));
        return true;
    }
    m_console.line(QStringLiteral("User is not authenticated"));
    return false;
}

bool AccountChecks::checkSubscription() const
{
    const std::optional<QJsonValue> flag =
        readKey(m_home + QLatin1Char('/') + kLocalFile, QStringLiteral("has_subscription"));
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
