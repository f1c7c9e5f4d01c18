#pragma once

#include "core/Variant.h"
#include "core/platform/Scheduler.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QScrollArea;

namespace marten {

class GrantAccessRow;
class InputAccessGranter;

// Gives the user's login input access, over the onboarding window: "Grant Access" has the
// granter make the change, and the same change is spelled out as terminal commands below it.
// Not modal: it only covers its host; whoever shows it closes it once access is there.
// Escape or "Close" dismisses it. Deletes itself when closed.
class InputAccessPanel final : public QWidget {
    Q_OBJECT
public:
    // Where the granter cannot grant, the panel offers only the commands.
    InputAccessPanel(Scheduler& scheduler, InputAccessGranter& granter, QWidget* host);

    // Shows the panel over its host and puts the keyboard focus on its first control;
    // closing gives the focus back to where it was.
    void present();

    // The style of the panel's main button ("Grant Access"): the program's primary one.
    void setPrimaryButtonStyle(ButtonStyle style);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildText(QWidget* sheet);
    void placeSheet();
    QRect sheetRect() const;

    Scheduler& m_scheduler;
    QWidget* m_sheet;
    QScrollArea* m_scroll;
    GrantAccessRow* m_grant = nullptr;
    QList<QWidget*> m_focusChain;
    QPointer<QWidget> m_returnFocus;
};

} // namespace marten
