#include "core/GIFPage.h"

#include <cstring>

namespace marten::gifpage {
namespace {

constexpr char kHead[] = "<!DOCTYPE html>\n"
                         "<html>\n"
                         "<head>\n"
                         "    <style>\n"
                         "        body {\n"
                         "            margin: 0;\n"
                         "            padding: 0;\n"
                         "            display: flex;\n"
                         "            justify-content: center;\n"
                         "            align-items: center;\n"
                         "            height: 100vh;\n"
                         "            background: white;\n"
                         "        }\n"
                         "        img {\n"
                         "            max-width: 100%;\n"
                         "            max-height: 100%;\n"
                         "            object-fit: contain;\n"
                         "        }\n"
                         "    </style>\n"
                         "</head>\n"
                         "<body>\n"
                         "    <img src=\"";
constexpr char kTail[] = "\" />\n"
                         "</body>\n"
                         "</html>";
static_assert(sizeof(kHead) - 1 == 427 && sizeof(kTail) - 1 == 20);

// A file name as a relative URL inside a double-quoted attribute. Characters that would end
// the attribute or change the URL's meaning ('"', '#', '?', '%', ':', '/', spaces, controls)
// are percent-encoded; '&' becomes an entity; other UTF-8 text is kept as it is.
QByteArray escapeReference(const QString& name)
{
    static const char kKept[] = "-._~!$'()*+,;=@";
    QByteArray out;
    for (const char c : name.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || (byte != 0 && std::strchr(kKept, c))) {
            out += c;
        } else if (c == '&') {
            out += "&amp;";
        } else {
            static const char kHex[] = "0123456789ABCDEF";
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    return out;
}

} // namespace

QString fileName()
{
    return QStringLiteral("gif_display.html");
}

QByteArray text(const QString& imageFileName)
{
    return QByteArray(kHead) + escapeReference(imageFileName) + QByteArray(kTail);
}

} // namespace marten::gifpage
