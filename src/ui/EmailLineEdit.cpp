#include "ui/EmailLineEdit.h"

#include <QKeyEvent>

namespace marten {

void EmailLineEdit::keyPressEvent(QKeyEvent* event)
{
    QLineEdit::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        event->accept();
}

} // namespace marten
