#pragma once

#include "screens/ScreenContext.h"

#include <QWidget>

namespace marten {

class HowToUseView final : public QWidget {
    Q_OBJECT
public:
    HowToUseView(const ScreenContext& context, QWidget* parent = nullptr);

private:
    ScreenContext m_context;
};

} // namespace marten
