#pragma once

#include <QWidget>

namespace marten {

// One capsule segment per step, 8 px apart, 4 px high; segments up to the current step are
// filled with the accent colour, the rest gray at 30 %.
class ProgressBar final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 4;

    explicit ProgressBar(QWidget* parent = nullptr);

    void setSteps(qint64 currentStep, qint64 totalSteps);
    qint64 currentStep() const { return m_current; }
    qint64 totalSteps() const { return m_total; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qint64 m_current = 0;
    qint64 m_total = 0;
};

} // namespace marten
