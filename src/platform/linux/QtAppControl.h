#pragma once

#include "platform/AppControl.h"
#include "platform/UrlOpener.h"

namespace marten {

class QtAppControl final : public AppControl {
public:
    void quit() override;
    void raiseAndActivate(QWidget* window) override;
};

// Opens URLs with the desktop's handler for their scheme (or an in-app handler that the
// program registered for it).
class DesktopUrlOpener final : public UrlOpener {
public:
    bool open(const QUrl& url) override;
};

} // namespace marten
