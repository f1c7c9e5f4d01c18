#pragma once

class QUrl;

namespace marten {

// Fire-and-forget: asks the desktop to open a URL. The result is advisory only.
class URLOpener {
public:
    virtual ~URLOpener() = default;
    virtual bool open(const QUrl& url) = 0;
};

} // namespace marten
