// Feeds arbitrary bytes to the account-file parser and to both programs' checks reading them
// from disk, as the main application's files would be read.

#include "core/AccountChecks.h"
#include "core/platform/Console.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

class NullConsole final : public marten::Console {
public:
    void line(const QString& text) override { m_last = text; }
    QString m_last;
};

QTemporaryDir& home()
{
    static QTemporaryDir dir;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const char* key : {"token", "access_token", "has_subscription"})
        (void)marten::AccountChecks::valueIn(bytes, QString::fromLatin1(key));

    // The same bytes as both account files, read through the real checks.
    for (const char* name : {"/.marten_auth_local.json", "/.marten_auth_token.json"}) {
        QFile file(home().path() + QLatin1String(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(bytes);
    }
    NullConsole console;
    const marten::AccountChecks full(marten::Variant::Full, home().path(), console);
    const marten::AccountChecks simple(marten::Variant::Simple, home().path(), console);
    (void)full.checkAuthentication();
    (void)full.checkSubscription();
    (void)simple.checkAuthentication();
    return 0;
}
