#pragma once

#include "core/Variant.h"

#include <QColor>
#include <QPushButton>

namespace marten {

// A push button drawn in one of the product's styles. The label may start with a symbol.
// A focused button is pressed with Space, Return or Enter unless setActivatesOnReturn(false).
class StyledButton final : public QPushButton {
    Q_OBJECT
public:
    StyledButton(ButtonStyle style, const QString& text, QWidget* parent = nullptr);

    ButtonStyle style() const { return m_style; }
    void setButtonStyle(ButtonStyle style);
    void setSymbol(const QString& symbolName);
    // Minimum width of the label (symbol and text), before the style's own padding.
    void setMinimumLabelWidth(int width);
    // Let the label take all the width offered.
    void setStretchLabel(bool stretch);
    void setLabelFont(const QFont& font);
    void setTextColor(const QColor& colour); // Plain style only
    void setActivatesOnReturn(bool activates) { m_activatesOnReturn = activates; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Opacity the button is drawn with right now (0.85 while pressed in the blue style).
    qreal paintOpacity() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyStyle();
    QSize labelSize() const;
    QMargins padding() const;

    ButtonStyle m_style;
    QString m_symbol;
    QColor m_textColor;
    int m_minLabelWidth = 0;
    bool m_activatesOnReturn = true;
};

// The quiet text button that passes over a step ("Skip for now"), named skipButton.
StyledButton* skipButton(const QString& title, QWidget* parent);

} // namespace marten
