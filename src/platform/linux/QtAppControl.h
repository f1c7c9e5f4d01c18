#pragma once

#include "core/platform/AppControl.h"

namespace marten {

class QtAppControl final : public AppControl {
public:
    void quit() override;
};

} // namespace marten
