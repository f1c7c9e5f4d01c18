#pragma once

#include "core/platform/URLOpener.h"

namespace marten {

// Opens URLs with the desktop's handler for their scheme (xdg-open).
class DesktopURLOpener final : public URLOpener {
public:
    bool open(const QUrl& url) override;
};

} // namespace marten
