#include "platform/linux/EvdevInputAccessProbe.h"

#include "core/platform/PushToTalkKeys.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <unistd.h>

namespace marten {
namespace {

bool accessible(const QString& path, int mode)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), mode, AT_EACCESS) == 0;
}

QString under(const QString& root, const char* path)
{
    QString base = root;
    if (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base + QLatin1String(path);
}

} // namespace

EvdevInputAccessProbe::EvdevInputAccessProbe(QString sysRoot, QString devRoot)
    : m_sys(std::move(sysRoot)), m_dev(std::move(devRoot))
{
}

bool EvdevInputAccessProbe::hasKeyBit(const QByteArray& bitmap, int code)
{
    // The kernel prints the bitmap as space-separated hex longs, most significant first.
    const QList<QByteArray> words = bitmap.trimmed().split(' ');
    const int bitsPerWord = static_cast<int>(sizeof(unsigned long) * 8);
    const int wordFromEnd = code / bitsPerWord;
    const int index = static_cast<int>(words.size()) - 1 - wordFromEnd;
    if (index < 0 || words.at(index).isEmpty())
        return false;
    bool ok = false;
    const qulonglong word = words.at(index).toULongLong(&ok, 16);
    return ok && ((word >> (code % bitsPerWord)) & 1U);
}

QStringList EvdevInputAccessProbe::readableKeyboards() const
{
    QStringList keyboards;
    const QDir classDir(under(m_sys, "/sys/class/input"));
    const QStringList events =
        classDir.entryList({QStringLiteral("event*")}, QDir::AllEntries | QDir::System);
    for (const QString& event : events) {
        // As many as the key reader opens: the rest would cost a read a second for nothing.
        if (keyboards.size() >= PushToTalkKeys::maxDevices)
            break;
        QFile caps(classDir.filePath(event + QStringLiteral("/device/capabilities/key")));
        if (!caps.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bitmap = caps.read(4096);
        if (!hasKeyBit(bitmap, KEY_A) && !hasKeyBit(bitmap, KEY_RIGHTMETA))
            continue;
        const QString node = under(m_dev, "/dev/input/") + event;
        if (accessible(node, R_OK))
            keyboards.append(node);
    }
    return keyboards;
}

bool EvdevInputAccessProbe::canReadKeyboard() const
{
    return !readableKeyboards().isEmpty();
}

bool EvdevInputAccessProbe::canWriteUinput() const
{
    return accessible(under(m_dev, "/dev/uinput"), R_OK | W_OK) ||
           accessible(under(m_dev, "/dev/input/uinput"), R_OK | W_OK);
}

bool EvdevInputAccessProbe::hasInputAccess() const
{
    return canWriteUinput() && canReadKeyboard();
}

} // namespace marten
