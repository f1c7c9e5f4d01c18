#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace marten {

// The little HTML page that shows one image centred on white, scaled down to fit.
namespace gifpage {

// The page's file name; every GIF view writes the same one.
QString fileName();

// The page's UTF-8 text for an image kept next to it under `imageFileName`. The name is
// written as a relative URL in the attribute, escaped so that any name refers to that file;
// names of letters, digits and "-._~" appear as they are.
QByteArray text(const QString& imageFileName);

// The path, relative to the page, that the page's image refers to: the attribute unescaped
// and the URL decoded (the reverse of text()). Nothing when the page has no image source.
std::optional<QString> imageReference(const QByteArray& page);

} // namespace gifpage
} // namespace marten
