#include "support/CoreTestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace marten::test {

IsolatedHome::IsolatedHome()
{
    const QString root = m_dir.path();
    qputenv("HOME", QFile::encodeName(root));
    for (const char* name :
         {"CONFIG_HOME", "DATA_HOME", "CACHE_HOME", "STATE_HOME", "RUNTIME_DIR"}) {
        const QString folder = root + QLatin1Char('/') + QString::fromLatin1(name).toLower();
        QDir().mkpath(folder);
        qputenv(QByteArray("XDG_") + name, QFile::encodeName(folder));
    }
    QFile::setPermissions(root + "/runtime_dir",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void writeFile(const QString& path, const QByteArray& bytes, bool executable)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
    if (executable)
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace marten::test
