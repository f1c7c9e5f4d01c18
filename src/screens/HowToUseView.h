#pragma once

#include "screens/ScreenContext.h"

#include <QWidget>

namespace marten {

// Teaches the push-to-talk gesture: a numbered list and one tip.
class HowToUseView final : public QWidget {
    Q_OBJECT
public:
    explicit HowToUseView(const ScreenContext& context, QWidget* parent = nullptr);
};

} // namespace marten
