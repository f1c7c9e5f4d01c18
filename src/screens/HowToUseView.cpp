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

} // namespace

HowToUseView::HowToUseView(const ScreenContext& context, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("howToUseView"));
    const auto& texts = context.traits.howToUse;

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
    QStringList explained;
    int number = 0;
    for (const char* instruction : texts.instructions) {
        auto* row = new InstructionRow(QString::number(++number), tr(instruction), QColor(), list);
        rows->addWidget(row);
        explained << row->text();
    }
    column->addWidget(list);

    auto* tip = new Card(theme::accent(), theme::cardRadius, this);
    tip->setObjectName(QStringLiteral("tipCard"));
    QLabel* tipText =
        theme::textLabel(tr(texts.tip), theme::TextStyle::Callout, tip, QFont::Normal,
                         texts.secondaryTip ? theme::secondaryLabel() : theme::black());
    tipText->setObjectName(QStringLiteral("tipText"));
    tipText->setWordWrap(false);
    tip->contentLayout()->addWidget(tipText);
    column->addWidget(tip, 0, Qt::AlignHCenter);
    explained << tipText->text();
    a11y::describeStep(this, title->text(), explained.join(QLatin1Char('\n')));
}

} // namespace marten
