#pragma once

#include "core/Variant.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <optional>

namespace marten {

class Console;

// Reads the account files the main application leaves in the home directory. Stateless:
// every call reads the files afresh, logs one line, and turns every problem into "no".
// Safe to call from any thread as long as the console is.
class AccountChecks final {
public:
    AccountChecks(Variant variant, QString homeDir, Console& console);

    bool checkAuthentication() const;
    bool checkSubscription() const;

    // Largest account file that is read; anything bigger counts as absent.
    static constexpr qint64 maxFileSize = 1024 * 1024;

    // The value under `key` when `bytes` is a JSON object holding it; nothing otherwise.
    static std::optional<QJsonValue> valueIn(const QByteArray& bytes, const QString& key);

private:
    // The account file `name` in the home folder; empty when the home folder is not absolute.
    QString accountFile(const QString& name) const;

    Variant m_variant;
    QString m_home;
    Console& m_console;
};

} // namespace marten
