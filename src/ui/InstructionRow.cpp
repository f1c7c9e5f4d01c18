#include "ui/InstructionRow.h"

#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace marten {
namespace {

// Body text that asks for its one-line width and wraps only when given less.
class RowText final : public QLabel {
public:
    RowText(const QString& text, QWidget* parent) : QLabel(text, parent)
    {
        setTextFormat(Qt::PlainText);
        setWordWrap(true);
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }

    QSize sizeHint() const override
    {
        const QMargins m = contentsMargins();
        const int width = fontMetrics().horizontalAdvance(text()) + 1 + m.left() + m.right();
        return {width, heightForWidth(width)};
    }
};

} // namespace

NumberBadge::NumberBadge(QString number, QWidget* parent)
    : QWidget(parent), m_number(std::move(number))
{
    setObjectName(QStringLiteral("numberBadge"));
    setFixedSize(kDiameter, kDiameter);
    setFont(theme::font(theme::TextStyle::Title2, QFont::Bold));
    setAccessibleName(m_number);
}

void NumberBadge::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath disc;
    disc.addEllipse(QRectF(0, 0, kDiameter, kDiameter));
    p.fillPath(disc, theme::accent());
    p.setPen(theme::white());
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, m_number);
}

InstructionRow::InstructionRow(const QString& number, const QString& text, const QColor& textColour,
                               QWidget* parent)
    : QWidget(parent), m_badge(new NumberBadge(number, this)), m_text(new RowText(text, this))
{
    setObjectName(QStringLiteral("instructionRow"));
    m_text->setObjectName(QStringLiteral("instructionText"));
    m_text->setFont(theme::font(theme::TextStyle::Body));
    if (textColour.isValid()) {
        QPalette pal = m_text->palette();
        pal.setColor(QPalette::WindowText, textColour);
        m_text->setPalette(pal);
    }
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    row->addWidget(m_badge, 0, Qt::AlignVCenter);
    row->addWidget(m_text, 0);
    row->addStretch(1);
}

} // namespace marten
