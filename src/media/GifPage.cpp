#include "media/GifPage.h"

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

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

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

QByteArray unescapeAttribute(const QByteArray& value)
{
    QByteArray out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const qsizetype semicolon = value.at(i) == '&' ? value.indexOf(';', i) : -1;
        if (semicolon < 0) {
            out += value.at(i);
            continue;
        }
        const QByteArray entity = value.mid(i + 1, semicolon - i - 1);
        QString decoded;
        if (entity == "amp")
            decoded = QStringLiteral("&");
        else if (entity == "quot")
            decoded = QStringLiteral("\"");
        else if (entity == "apos")
            decoded = QStringLiteral("'");
        else if (entity == "lt")
            decoded = QStringLiteral("<");
        else if (entity == "gt")
            decoded = QStringLiteral(">");
        else if (entity.startsWith('#')) {
            bool ok = false;
            const bool hex = entity.size() > 1 && (entity.at(1) == 'x' || entity.at(1) == 'X');
            const uint code = entity.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            if (ok && code > 0 && code <= 0x10FFFF) {
                const char32_t point = code;
                decoded = QString::fromUcs4(&point, 1);
            }
        }
        if (decoded.isEmpty()) {
            out += value.at(i);
            continue;
        }
        out += decoded.toUtf8();
        i = semicolon;
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

std::optional<QString> imageReference(const QByteArray& page)
{
    const qsizetype img = page.indexOf("<img");
    if (img < 0)
        return std::nullopt;
    // Walk the tag's attributes: name, optionally '=' and a quoted or bare value.
    qsizetype pos = img + 4;
    const qsizetype size = page.size();
    while (pos < size) {
        while (pos < size && isSpace(page.at(pos)))
            ++pos;
        if (pos >= size || page.at(pos) == '>' || page.at(pos) == '/')
            return std::nullopt;
        const qsizetype nameStart = pos;
        while (pos < size && !isSpace(page.at(pos)) && page.at(pos) != '=' && page.at(pos) != '>' &&
               page.at(pos) != '/')
            ++pos;
        const QByteArray name = page.mid(nameStart, pos - nameStart).toLower();
        while (pos < size && isSpace(page.at(pos)))
            ++pos;
        QByteArray value;
        if (pos < size && page.at(pos) == '=') {
            ++pos;
            while (pos < size && isSpace(page.at(pos)))
                ++pos;
            if (pos < size && (page.at(pos) == '"' || page.at(pos) == '\'')) {
                const qsizetype close = page.indexOf(page.at(pos), pos + 1);
                if (close < 0)
                    return std::nullopt;
                value = page.mid(pos + 1, close - pos - 1);
                pos = close + 1;
            } else {
                const qsizetype start = pos;
                while (pos < size && !isSpace(page.at(pos)) && page.at(pos) != '>')
                    ++pos;
                value = page.mid(start, pos - start);
            }
        }
        if (name != "src")
            continue;
        // The attribute holds a URL: its own spaces are trimmed, and what follows '?' or '#'
        // is not part of the path.
        QByteArray url = unescapeAttribute(value).trimmed();
        for (const char stop : {'?', '#'}) {
            if (const qsizetype at = url.indexOf(stop); at >= 0)
                url.truncate(at);
        }
        return QString::fromUtf8(QByteArray::fromPercentEncoding(url));
    }
    return std::nullopt;
}

} // namespace marten::gifpage
