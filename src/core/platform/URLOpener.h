#pragma once

class QUrl;

namespace marten {

// Fire-and-forget: asks the desktop to open a URL. The result is advisory only.
class URLOpener {
public:
    virtual ~URLOpener() = default;
    virtual bool open(const QUrl& url) = 0;
};

// Platform's URL opener where none is given: opens nothing.
class NoURLOpener final : public URLOpener {
public:
    bool open(const QUrl&) override { return false; }
};

} // namespace marten
