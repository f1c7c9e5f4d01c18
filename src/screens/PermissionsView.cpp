#include "screens/PermissionsView.h"

#include "ui/Theme.h"

#include <QLabel>
#include <QVBoxLayout>

namespace marten {

PermissionsView::PermissionsView(const ScreenContext& context, Callback onGranted,
                                 QWidget* parent)
    : QWidget(parent), m_context(context), m_onGranted(std::move(onGranted))
{
    setObjectName(QStringLiteral("permissionsView"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(theme::textLabel(QStringLiteral("PermissionsView"), theme::TextStyle::LargeTitle, this));
}

} // namespace marten
