#pragma once

#include "screens/ScreenContext.h"

#include <QWidget>

namespace marten {

class TestItState;

class TestItView final : public QWidget {
    Q_OBJECT
public:
    TestItView(const ScreenContext& context, TestItState& state, QWidget* parent = nullptr);

private:
    ScreenContext m_context;
    TestItState& m_state;
};

} // namespace marten
