#include "media/GIFWebView.h"

#include "platform/Console.h"

namespace marten {

GIFWebView::GIFWebView(const QUrl& gifURL, Console& console, QWidget* parent)
    : QWidget(parent), m_gifURL(gifURL), m_console(console)
{
    setObjectName(QStringLiteral("gifWebView"));
}

} // namespace marten
