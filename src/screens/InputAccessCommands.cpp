#include "screens/InputAccessCommands.h"

#include "ui/Buttons.h"
#include "ui/Card.h"
#include "ui/Theme.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace marten {
namespace {

using namespace std::chrono_literals;

constexpr auto kCopiedFeedback = 1500ms;
constexpr int kCommandSpacing = 8;

QFont commandFont()
{
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setFamilies(
        {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Sans Mono"), mono.family()});
    mono.setPixelSize(11);
    return mono;
}

} // namespace

QList<InputAccessCommands::Command> InputAccessCommands::commands()
{
    // The rule tags the devices "uaccess": logind then gives whoever is logged in at the
    // seat an ACL on them, which takes effect without a new login.
    // Long commands are split with shell line continuations at spaces, so the panel never
    // wraps one inside an option or a path, and what is copied still runs as it stands.
    return {
        {tr("Let the person at this computer use keyboards and /dev/uinput"),
         QStringLiteral(
             "printf '%s\\n' \\\n"
             "  'KERNEL==\"uinput\", SUBSYSTEM==\"misc\", OPTIONS+=\"static_node=uinput\", "
             "TAG+=\"uaccess\"' \\\n"
             "  'SUBSYSTEM==\"input\", KERNEL==\"event*\", ENV{ID_INPUT_KEYBOARD}==\"1\", "
             "TAG+=\"uaccess\"' \\\n"
             "  | sudo tee /etc/udev/rules.d/70-marten-input-access.rules > /dev/null")},
        {tr("Load uinput every time the computer starts"),
         QStringLiteral(
             "echo uinput | sudo tee /etc/modules-load.d/marten-uinput.conf > /dev/null")},
        {tr("Apply both now"),
         QStringLiteral("sudo modprobe uinput && sudo udevadm control --reload-rules && \\\n"
                        "  sudo udevadm trigger --action=change --subsystem-match=input \\\n"
                        "  --subsystem-match=misc")},
    };
}

InputAccessCommands::InputAccessCommands(Scheduler& scheduler, QWidget* parent)
    : QWidget(parent), m_scheduler(scheduler)
{
    setObjectName(QStringLiteral("inputAccessCommands"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kCommandSpacing);
    const QList<Command> all = commands();
    for (int i = 0; i < all.size(); ++i)
        column->addWidget(buildCommand(i, all.at(i)));
}

QWidget* InputAccessCommands::buildCommand(int index, const Command& step)
{
    auto* box = new QWidget(this);
    box->setObjectName(QStringLiteral("panelStep"));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    QLabel* heading =
        theme::textLabel(QStringLiteral("%1. %2").arg(QString::number(index + 1), step.title),
                         theme::TextStyle::Body, box, QFont::DemiBold, theme::black());
    heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(heading);

    auto* card = new Card(theme::gray(), 6, box);
    card->setObjectName(QStringLiteral("commandCard"));
    card->contentLayout()->setContentsMargins(10, 5, 6, 5);
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
    theme::followAccent(copyButton, [copyButton] { copyButton->setTextColor(theme::accent()); });
    copyButton->setMinimumLabelWidth(
        QFontMetrics(copyButton->font()).horizontalAdvance(tr("Copied")));
    copyButton->setAccessibleName(tr("Copy command: %1").arg(step.title));
    copyButton->setToolTip(tr("Copy to the clipboard"));
    connect(copyButton, &QAbstractButton::clicked, this,
            [this, copyButton, text = step.command] { copy(copyButton, text); });
    row->addWidget(copyButton, 0, Qt::AlignVCenter);

    card->contentLayout()->addLayout(row);
    layout->addWidget(card);
    return box;
}

void InputAccessCommands::copy(QAbstractButton* button, const QString& command)
{
    QGuiApplication::clipboard()->setText(command);
    button->setText(tr("Copied"));
    m_scheduler.after(kCopiedFeedback, button, [button] { button->setText(tr("Copy")); });
}

} // namespace marten
