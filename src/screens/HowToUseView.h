#pragma once

#include "screens/ScreenContext.h"

#include <QWidget>

namespace marten {

class InstructionRow;

// Teaches the push-to-talk gesture: a numbered list and one tip.
class HowToUseView final : public QWidget {
    Q_OBJECT
public:
    HowToUseView(const ScreenContext& context, QWidget* parent = nullptr);

    QList<InstructionRow*> rows() const { return m_rows; }

private:
    ScreenContext m_context;
    QList<InstructionRow*> m_rows;
};

} // namespace marten
