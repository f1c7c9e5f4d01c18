#include "screens/HowToUseView.h"

#include "ui/Accessibility.h"
#include "ui/Card.h"
#include "ui/InstructionRow.h"
#include "ui/Theme.h"

#include <QLabel>
#include <QVBoxLayout>

namespace marten {
namespace {

constexpr int kRowSpacing = 16;

struct Step {
    const char16_t* number;
    const char* text; // a translation key of HowToUseView
};

// The rows are translated here; the row widget shows what it is given.
constexpr Step kFullSteps[] = {
    {u"1", QT_TRANSLATE_NOOP("marten::HowToUseView", "Press the Right Command key (⌘)")},
    {u"2", QT_TRANSLATE_NOOP("marten::HowToUseView", "Speak")},
    {u"3", QT_TRANSLATE_NOOP("marten::HowToUseView", "Release")},
    {u"4", QT_TRANSLATE_NOOP("marten::HowToUseView", "Marten prints text wherever your cursor is")},
};
constexpr Step kSimpleSteps[] = {
    {u"1", QT_TRANSLATE_NOOP("marten::HowToUseView", "Hold the Right Command key")},
    {u"2", QT_TRANSLATE_NOOP("marten::HowToUseView", "Speak your message")},
    {u"3", QT_TRANSLATE_NOOP("marten::HowToUseView", "Release to insert text")},
};

} // namespace

HowToUseView::HowToUseView(const ScreenContext& context, QWidget* parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("howToUseView"));
    const bool full = m_context.isFull();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(theme::screenSpacing);

    QLabel* title =
        theme::textLabel(tr("How to Use Marten"), theme::TextStyle::LargeTitle, this, QFont::Bold);
    title->setObjectName(QStringLiteral("howToUseTitle"));
    column->addWidget(title);

    // The rows take the whole width, so their badges line up at the leading edge.
    auto* list = new QWidget(this);
    list->setObjectName(QStringLiteral("instructionList"));
    auto* rows = new QVBoxLayout(list);
    rows->setContentsMargins(0, theme::defaultPadding, 0, 0);
    rows->setSpacing(kRowSpacing);
    const auto addRows = [&](const auto& steps) {
        for (const Step& step : steps) {
            auto* row =
                new InstructionRow(QString::fromUtf16(step.number), tr(step.text), QColor(), list);
            rows->addWidget(row);
            m_rows.append(row);
        }
    };
    if (full)
        addRows(kFullSteps);
    else
        addRows(kSimpleSteps);
    column->addWidget(list);

    auto* tip = new Card(theme::accent(), theme::cardRadius, this);
    tip->setObjectName(QStringLiteral("tipCard"));
    QLabel* tipText = theme::textLabel(full ? tr("💡 Tip: Works anywhere you can type")
                                            : tr("💡 Tip: Works in any app where you can type!"),
                                       theme::TextStyle::Callout, tip, QFont::Normal,
                                       full ? theme::black() : theme::secondaryLabel());
    tipText->setObjectName(QStringLiteral("tipText"));
    tipText->setWordWrap(false);
    tip->contentLayout()->addWidget(tipText);
    column->addWidget(tip, 0, Qt::AlignHCenter);
    QStringList explained;
    for (const InstructionRow* row : std::as_const(m_rows))
        explained << row->text();
    explained << tipText->text();
    a11y::describeStep(this, title->text(), explained.join(QLatin1Char('\n')));
}

} // namespace marten
