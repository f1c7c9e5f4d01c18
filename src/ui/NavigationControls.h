#pragma once

#include "ui/Buttons.h"

#include <QAbstractButton>

namespace marten {

// The chevron in the top-left corner that steps back. No keyboard shortcut of its own.
class BackButton final : public QAbstractButton {
    Q_OBJECT
public:
    explicit BackButton(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The small round "×" in the top-right corner that closes the window. The window has no
// title bar of its own, so this is the mouse's way out.
class CloseButton final : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kDiameter = 18;

    explicit CloseButton(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// "Next" / "Get Started" below a step: at least 120 px wide, pressed by Ctrl+Return. Plain
// Return does not press it, so Return in a field never moves the user on by accident.
class StepButton final {
public:
    static StyledButton* create(ButtonStyle style, const QString& title, QWidget* parent);
};

} // namespace marten
