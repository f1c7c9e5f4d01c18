#pragma once

#include <QColor>
#include <QLabel>
#include <QString>
#include <QWidget>

namespace marten {

// The numbered disc at the start of an instruction row: 30 px, accent fill, white number.
class NumberBadge final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDiameter = 30;

    explicit NumberBadge(QString number, QWidget* parent = nullptr);
    QString number() const { return m_number; }
    QSize sizeHint() const override { return {kDiameter, kDiameter}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_number;
};

// One numbered step of an instruction list: badge, 12 px, text, then free space, so rows
// stacked in a column line up their badges at the leading edge. A long text wraps beside
// the badge, which stays vertically centred on it. Both strings are shown as given.
class InstructionRow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSpacing = 12;

    // `textColour` invalid: the text takes the colour around the row.
    InstructionRow(const QString& number, const QString& text, const QColor& textColour = {},
                   QWidget* parent = nullptr);

    QString number() const { return m_badge->number(); }
    QString text() const { return m_text->text(); }
    QLabel* textLabel() const { return m_text; }

private:
    NumberBadge* m_badge;
    QLabel* m_text;
};

} // namespace marten
