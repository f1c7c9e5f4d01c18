#include "ui/Padding.h"

#include <QVBoxLayout>
#include <QWidget>

namespace marten {

QWidget* padded(QWidget* child, QWidget* parent, const QMargins& margins, Qt::Alignment alignment)
{
    auto* box = new QWidget(parent);
    box->setObjectName(child->objectName() + QStringLiteral("Box"));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(margins);
    layout->setSpacing(0);
    child->setParent(box);
    layout->addWidget(child, 0, alignment);
    return box;
}

} // namespace marten
