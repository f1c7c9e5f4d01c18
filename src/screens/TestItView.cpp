#include "screens/TestItView.h"

#include "flow/TestItState.h"

#include "ui/Theme.h"

#include <QLabel>
#include <QVBoxLayout>

namespace marten {

TestItView::TestItView(const ScreenContext& context, TestItState& state, QWidget* parent)
    : QWidget(parent), m_context(context), m_state(state)
{
    setObjectName(QStringLiteral("testItView"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(theme::textLabel(QStringLiteral("TestItView"), theme::TextStyle::LargeTitle, this));
}

} // namespace marten
