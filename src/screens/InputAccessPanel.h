#pragma once

#include "core/platform/Scheduler.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QAbstractButton;

namespace marten {

class InputAccessWatcher;

// Tells the user, over the onboarding window, how to give their account input access on
// Linux, with one-click copies of the commands. Not modal: it only covers its host, and
// it closes itself as soon as access is there.
// Escape or "Close" dismisses it. Deletes itself when closed.
class InputAccessPanel final : public QWidget {
    Q_OBJECT
public:
    struct Command {
        QString title;
        QString command; // empty for a step without one
    };

    InputAccessPanel(Scheduler& scheduler, InputAccessWatcher& watcher, QWidget* host);

    // What the panel asks the user to do, in order.
    static QList<Command> steps();

    // Shows the panel over its host and puts the keyboard focus on its first control;
    // closing gives the focus back to where it was.
    void present();

    // The sheet in the middle of the overlay.
    QWidget* sheet() const { return m_sheet; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildStep(int index, const Command& step);
    void copy(QAbstractButton* button, const QString& command);
    void placeSheet();
    QRect sheetRect() const;

    Scheduler& m_scheduler;
    QWidget* m_sheet;
    QList<QWidget*> m_focusChain;
    QPointer<QWidget> m_returnFocus;
};

} // namespace marten
