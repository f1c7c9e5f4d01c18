#pragma once

#include <QAccessible>
#include <QString>

class QWidget;

namespace marten::a11y {

// Gives `widget` a role its stock interface cannot give (a plain QWidget reaches screen
// readers as a filler): Window for the window (a frame), Grouping for a step, Dialog for the
// panel, AlertMessage for the alert. Its description is then only its accessible description,
// never its tooltip. Call before the widget is first shown.
void setRole(QWidget* widget, QAccessible::Role role);

// Marks `overlay`, a direct child of a window given a role by setRole(), as modal: while it is
// shown, it is the window's only accessible child, so what lies behind it is out of the
// screen reader's reach as well as the mouse's.
void setModal(QWidget* overlay);

// Tells the window's modal overlay came or went, so the screen reader reads its children anew.
void modalChanged(QWidget* overlay);

// A tooltip shown to the mouse only, for a control whose name already says the same: a
// screen reader would otherwise read the tooltip as its description ("Back … Back").
void setMouseTip(QWidget* widget, const QString& tip);

// The step on display: named by its heading, described by its explanation, a group the
// keyboard focus can rest on (never a Tab stop) so that arriving on it reads both out.
void describeStep(QWidget* step, const QString& heading, const QString& explanation);

// Has the screen reader say `text` without moving the focus, for a change that came without
// a key press (access granted, the microphone's state, a transcript). It goes out as a
// notification of `context`'s window that shows, the one event the screen reader reads out
// whatever has the focus; each text has a notice of its own, kept for a while, so a reader
// that comes to the event late still reads this text.
void announce(QWidget* context, const QString& text);

} // namespace marten::a11y
