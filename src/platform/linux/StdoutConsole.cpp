#include "platform/linux/StdoutConsole.h"

namespace marten {

void StdoutConsole::line(const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    // One locked write per line keeps lines from different threads whole.
    ::flockfile(m_stream);
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), m_stream);
    std::fflush(m_stream);
    ::funlockfile(m_stream);
}

} // namespace marten
