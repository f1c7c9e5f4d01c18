#pragma once

#include "screens/ScreenContext.h"

#include <QWidget>

namespace marten {

class PermissionsView final : public QWidget {
    Q_OBJECT
public:
    PermissionsView(const ScreenContext& context, Callback onGranted, QWidget* parent = nullptr);

private:
    ScreenContext m_context;
    Callback m_onGranted;
};

} // namespace marten
