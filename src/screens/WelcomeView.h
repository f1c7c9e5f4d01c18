#pragma once

#include "screens/ScreenContext.h"

#include <QWidget>

namespace marten {

class WelcomeView final : public QWidget {
    Q_OBJECT
public:
    WelcomeView(const ScreenContext& context, QWidget* parent = nullptr);

private:
    ScreenContext m_context;
};

} // namespace marten
