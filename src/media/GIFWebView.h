#pragma once

#include <QUrl>
#include <QWidget>

namespace marten {

class Console;

// Plays a local GIF centred on a white page; transparent until the page has loaded.
class GIFWebView final : public QWidget {
    Q_OBJECT
public:
    GIFWebView(const QUrl& gifURL, Console& console, QWidget* parent = nullptr);

    QUrl gifURL() const { return m_gifURL; }

private:
    QUrl m_gifURL;
    Console& m_console;
};

} // namespace marten
