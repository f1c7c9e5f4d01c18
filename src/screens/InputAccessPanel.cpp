#include "screens/InputAccessPanel.h"

#include "core/InputAccessWatcher.h"
#include "ui/Buttons.h"
#include "ui/Card.h"
#include "ui/Spinner.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace marten {
namespace {

using namespace std::chrono_literals;

constexpr int kMaxSheetWidth = 700;
constexpr int kOuterMargin = 20;
constexpr int kSheetPadding = 22;
constexpr int kSheetRadius = 12;
constexpr int kStepSpacing = 12;
constexpr auto kCopiedFeedback = 1500ms;

// A white rounded sheet; its shadow is painted by the overlay.
class Sheet final : public QWidget {
public:
    explicit Sheet(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kSheetRadius,
                            kSheetRadius);
        p.fillPath(path, theme::white());
        p.setPen(QPen(theme::withOpacity(theme::black(), 0.12), 1));
        p.drawPath(path);
    }
};

QFont commandFont()
{
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setFamilies(
        {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Sans Mono"), mono.family()});
    mono.setPixelSize(12);
    return mono;
}

} // namespace

QList<InputAccessPanel::Command> InputAccessPanel::steps()
{
    return {
        {tr("Add your account to the input group"), QStringLiteral("sudo usermod -aG input $USER")},
        {tr("Let the input group use /dev/uinput"),
         QStringLiteral("echo 'KERNEL==\"uinput\", GROUP=\"input\", MODE=\"0660\", "
                        "OPTIONS+=\"static_node=uinput\"' | "
                        "sudo tee /etc/udev/rules.d/80-uinput.rules")},
        {tr("Load uinput every time the computer starts"),
         QStringLiteral("echo uinput | sudo tee /etc/modules-load.d/uinput.conf")},
        {tr("Log out and back in, so that your account joins the group. If Marten still "
            "can't use the keyboard after that, restart the computer."),
         QString()},
    };
}

InputAccessPanel::InputAccessPanel(Scheduler& scheduler, InputAccessWatcher& watcher,
                                   QWidget* host)
    : QWidget(host), m_scheduler(scheduler), m_sheet(new Sheet(this))
{
    setObjectName(QStringLiteral("inputAccessPanel"));
    setAccessibleName(tr("Allow input access"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);
    m_sheet->setObjectName(QStringLiteral("inputAccessSheet"));

    auto* column = new QVBoxLayout(m_sheet);
    column->setContentsMargins(kSheetPadding, kSheetPadding, kSheetPadding, kSheetPadding);
    column->setSpacing(kStepSpacing);

    QLabel* title = theme::textLabel(tr("Allow input access"), theme::TextStyle::Title2, m_sheet,
                                     QFont::Bold, theme::black());
    title->setObjectName(QStringLiteral("panelTitle"));
    title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    column->addWidget(title);

    QLabel* intro = theme::textLabel(
        tr("Marten needs to see when you press the Right Command key (the right Super or "
           "Windows key) and to type the text you dictate. On Linux your account gets this "
           "through the input group and the /dev/uinput device. Run these commands in a "
           "terminal:"),
        theme::TextStyle::Body, m_sheet, QFont::Normal, theme::black());
    intro->setObjectName(QStringLiteral("panelIntro"));
    intro->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    column->addWidget(intro);

    const QList<Command> all = steps();
    for (int i = 0; i < all.size(); ++i)
        column->addWidget(buildStep(i, all.at(i)));

    column->addSpacing(4);
    auto* footer = new QHBoxLayout;
    footer->setSpacing(8);
    footer->addWidget(new Spinner(m_sheet, 16), 0, Qt::AlignVCenter);
    QLabel* waiting = theme::textLabel(tr("Waiting for input access..."), theme::TextStyle::Caption,
                                       m_sheet, QFont::Normal, theme::secondaryLabel());
    waiting->setObjectName(QStringLiteral("panelWaiting"));
    waiting->setWordWrap(false);
    footer->addWidget(waiting, 0, Qt::AlignVCenter);
    footer->addStretch(1);
    auto* closeButton = new StyledButton(ButtonStyle::BorderedProminent, tr("Close"), m_sheet);
    closeButton->setObjectName(QStringLiteral("closePanelButton"));
    closeButton->setMinimumLabelWidth(60);
    connect(closeButton, &QAbstractButton::clicked, this, &QWidget::close);
    footer->addWidget(closeButton);
    m_focusChain.append(closeButton);
    column->addLayout(footer);

    // Follow the host's size, and cover it from the start.
    host->installEventFilter(this);
    setGeometry(host->rect());

    // Gone as soon as access is there.
    connect(&watcher, &InputAccessWatcher::granted, this, &QWidget::close);
    watcher.start();
}

QWidget* InputAccessPanel::buildStep(int index, const Command& step)
{
    auto* box = new QWidget(m_sheet);
    box->setObjectName(QStringLiteral("panelStep"));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);

    QLabel* heading =
        theme::textLabel(QStringLiteral("%1. %2").arg(QString::number(index + 1), step.title),
                         theme::TextStyle::Body, box,
                         step.command.isEmpty() ? QFont::Normal : QFont::DemiBold, theme::black());
    heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(heading);
    if (step.command.isEmpty())
        return box;

    auto* card = new Card(theme::gray(), box, 6);
    card->setObjectName(QStringLiteral("commandCard"));
    card->contentLayout()->setContentsMargins(10, 6, 6, 6);
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    auto* command = new QLabel(step.command, card);
    command->setObjectName(QStringLiteral("commandText"));
    command->setTextFormat(Qt::PlainText);
    command->setFont(commandFont());
    command->setWordWrap(true);
    command->setTextInteractionFlags(Qt::TextSelectableByMouse);
    command->setAccessibleName(step.command);
    row->addWidget(command, 1);

    auto* copyButton = new StyledButton(ButtonStyle::Plain, tr("Copy"), card);
    copyButton->setObjectName(QStringLiteral("copyButton"));
    copyButton->setTextColor(theme::accent());
    copyButton->setMinimumLabelWidth(
        QFontMetrics(copyButton->font()).horizontalAdvance(tr("Copied")));
    copyButton->setAccessibleName(tr("Copy command: %1").arg(step.title));
    copyButton->setToolTip(tr("Copy to the clipboard"));
    connect(copyButton, &QAbstractButton::clicked, this,
            [this, copyButton, text = step.command] { copy(copyButton, text); });
    row->addWidget(copyButton, 0, Qt::AlignVCenter);
    m_focusChain.append(copyButton);

    card->contentLayout()->addLayout(row);
    layout->addWidget(card);
    return box;
}

void InputAccessPanel::copy(QAbstractButton* button, const QString& command)
{
    QGuiApplication::clipboard()->setText(command);
    button->setText(tr("Copied"));
    m_scheduler.after(kCopiedFeedback, button, [button] { button->setText(tr("Copy")); });
}

void InputAccessPanel::present()
{
    if (!isVisible())
        m_returnFocus = QApplication::focusWidget();
    setGeometry(parentWidget()->rect());
    show();
    raise();
    if (!m_focusChain.isEmpty())
        m_focusChain.first()->setFocus(Qt::OtherFocusReason);
}

void InputAccessPanel::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (m_returnFocus && m_returnFocus->isVisible())
        m_returnFocus->setFocus(Qt::OtherFocusReason);
}

bool InputAccessPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

QRect InputAccessPanel::sheetRect() const
{
    const int width = qMin(kMaxSheetWidth, this->width() - 2 * kOuterMargin);
    const int wanted = m_sheet->hasHeightForWidth() ? m_sheet->heightForWidth(width)
                                                    : m_sheet->sizeHint().height();
    const int height = qMin(wanted, this->height() - 2 * kOuterMargin);
    return {(this->width() - width) / 2, (this->height() - height) / 2, width, height};
}

void InputAccessPanel::placeSheet()
{
    m_sheet->setGeometry(sheetRect());
}

void InputAccessPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeSheet();
}

void InputAccessPanel::paintEvent(QPaintEvent*)
{
    // Dim what is underneath and lift the sheet off it with a soft shadow.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), theme::withOpacity(theme::black(), 0.28));
    const QRectF sheet = QRectF(m_sheet->geometry()).translated(0, 3);
    for (int i = 1; i <= 6; ++i) {
        QPainterPath halo;
        halo.addRoundedRect(sheet.adjusted(-i, -i, i, i), kSheetRadius + i, kSheetRadius + i);
        p.fillPath(halo, theme::withOpacity(theme::black(), 0.025));
    }
}

void InputAccessPanel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool InputAccessPanel::focusNextPrevChild(bool next)
{
    // Tab stays inside the panel while it is open.
    if (m_focusChain.isEmpty())
        return false;
    qsizetype at = -1;
    for (qsizetype i = 0; i < m_focusChain.size(); ++i) {
        if (m_focusChain.at(i)->hasFocus())
            at = i;
    }
    const qsizetype count = m_focusChain.size();
    const qsizetype to = at < 0 ? (next ? 0 : count - 1) : (at + (next ? 1 : count - 1)) % count;
    m_focusChain.at(to)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

} // namespace marten
