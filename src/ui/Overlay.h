#pragma once

#include <QAccessible>
#include <QList>
#include <QPointer>
#include <QWidget>

namespace marten {

namespace focus {

// The widgets inside `root`'s window and under `root` that Tab stops at, in the window's focus
// order: shown, enabled and taking the focus by Tab themselves (not through a proxy).
QList<QWidget*> tabStops(const QWidget* root);

// Moves the focus from the one of `stops` that has it to the next (to the one before, when
// `next` is false), round from the last to the first and back; from none of them to the
// first (the last). False, moving nothing, when there are no stops.
bool cycle(const QList<QWidget*>& stops, bool next);

} // namespace focus

// A layer over a whole window (the alert, the input-access panel): it dims the window, lifts a
// rounded white sheet off it in the middle, and takes every click and key while it is up.
// Tab and Shift+Tab go round the sheet's controls and never leave it; Escape closes it.
// Screen readers meet it as the window's only child, in the role it is given, until it
// closes. Closing gives the focus back to where it was, and deletes the overlay.
class Overlay : public QWidget {
    Q_OBJECT
public:
    // Shows the overlay over its window, with the focus on the sheet's first control.
    void present();

    // The card in the middle; its user lays out its contents.
    QWidget* sheet() const { return m_sheet; }

signals:
    // Closed, whichever way.
    void dismissed();

protected:
    // The overlay covers `host`'s window.
    Overlay(QAccessible::Role role, QWidget* host);

    // The sheet's size while the overlay is `area` large.
    virtual QSize sheetSize(const QSize& area) const = 0;
    // Centres the sheet at the size sheetSize() gives.
    void placeSheet();

    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_sheet;
    QPointer<QWidget> m_returnFocus;
};

} // namespace marten
