#include "core/Posix.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace marten::posix {

QString reason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

Failure failure(const QString& what, int code)
{
    return {what + QStringLiteral(": ") + reason(code), code};
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

} // namespace marten::posix
