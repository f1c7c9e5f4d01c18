#pragma once

#include <QByteArray>
#include <QString>

namespace marten {

// The little HTML page that shows one image centred on white, scaled down to fit.
namespace gifpage {

// The page's file name; every GIF view writes the same one.
QString fileName();

// The page's UTF-8 text for an image kept next to it under `imageFileName`. The name is
// written as a relative URL in the attribute, escaped so that any name refers to that file;
// names of letters, digits and "-._~" appear as they are.
QByteArray text(const QString& imageFileName);

} // namespace gifpage
} // namespace marten
