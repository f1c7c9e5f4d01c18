#include "ui/FirstPaint.h"

#include <QEvent>
#include <QTimer>

namespace marten {

void afterFirstPaint(QWidget* widget, std::function<void()> work)
{
    class Watcher final : public QObject {
    public:
        Watcher(QWidget* target, std::function<void()> run) : QObject(target), m_run(std::move(run))
        {
            target->installEventFilter(this);
        }

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint) {
                watched->removeEventFilter(this);
                QTimer::singleShot(0, watched, m_run);
                deleteLater();
            }
            return false;
        }

    private:
        std::function<void()> m_run;
    };
    new Watcher(widget, std::move(work));
}

} // namespace marten
