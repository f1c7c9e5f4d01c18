#include "screens/TestItView.h"

#include "core/OnboardingFlow.h"
#include "core/TestItSession.h"
#include "core/TestItState.h"
#include "ui/Accessibility.h"
#include "ui/Card.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace marten {
namespace {
// How long a transcript rests, no key typed into it, before it is read out.
constexpr std::chrono::milliseconds kTranscriptRest{700};
constexpr int kTranscriptSpacing = 8;

// The default padding above a part. With a transcription the screen is a little taller
// than the window leaves it, and these paddings are what gives way; never the texts.
QSpacerItem* topPadding()
{
    return new QSpacerItem(0, theme::defaultPadding, QSizePolicy::Minimum, QSizePolicy::Maximum);
}

// Typed text, as the main application types a transcription: printable characters with no
// Ctrl, Alt or Meta (so Ctrl+Return, Ctrl+W and Tab keep their meaning), and Backspace.
bool isTranscriptKey(const QKeyEvent& key)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (key.key() == Qt::Key_Backspace)
        return true;
    const QString text = key.text();
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

// The transcription in the card: as tall as its lines while the step has room for them
// (setRoom), then scrolled, with the latest words kept in view.
class TranscriptScroll final : public QScrollArea {
public:
    TranscriptScroll(QLabel* text, QWidget* parent) : QScrollArea(parent), m_text(text)
    {
        setObjectName(QStringLiteral("transcriptScroll"));
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setWidgetResizable(true);
        setFocusPolicy(Qt::NoFocus);
        viewport()->setAutoFillBackground(false);
        theme::slimScrollBar(this);
        setWidget(text);
        text->setAutoFillBackground(false);
        // Every new line or narrower width scrolls to the end of what was said.
        connect(verticalScrollBar(), &QScrollBar::rangeChanged, this,
                [this](int, int end) { verticalScrollBar()->setValue(end); });
    }

    void setRoom(int room)
    {
        if (room == m_room)
            return;
        m_room = room;
        updateGeometry();
    }

    // Fixed at the height wanted, so that short of room the paddings give way and not this.
    QSize sizeHint() const override { return {QScrollArea::sizeHint().width(), wanted()}; }
    QSize minimumSizeHint() const override { return {0, wanted()}; }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QScrollArea::resizeEvent(event);
        if (event->size().width() != event->oldSize().width())
            updateGeometry(); // the lines wrap anew
    }

private:
    int wanted() const
    {
        const int lines = m_text->heightForWidth(qMax(1, width()));
        const int line = m_text->fontMetrics().lineSpacing();
        // Whole lines only, and never less than one.
        const int room = qMax(line, m_room - m_room % qMax(1, line));
        return qMin(qMax(lines, line), room);
    }

    QLabel* m_text;
    int m_room = QWIDGETSIZE_MAX;
};

} // namespace

TestItView::TestItView(const ScreenContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_state(context.flow.testItState())
{
    setObjectName(QStringLiteral("testItView"));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(theme::screenSpacing);

    m_mic = new QLabel(this);
    m_mic->setObjectName(QStringLiteral("micSymbol"));
    m_mic->setAlignment(Qt::AlignCenter);
    // Short of height, the paddings of the block and of the closing line give way first;
    // the symbol keeps its size.
    m_mic->setFixedSize(theme::heroSymbolSize, theme::heroSymbolSize);
    column->addWidget(m_mic, 0, Qt::AlignHCenter);

    QLabel* title =
        theme::textLabel(tr("Test It Out!"), theme::TextStyle::LargeTitle, this, QFont::Bold);
    title->setObjectName(QStringLiteral("testItTitle"));
    column->addWidget(title);

    QLabel* prompt =
        theme::textLabel(tr("Hold Right ⌘ and say something"), theme::TextStyle::Title3, this,
                         QFont::Normal, theme::secondaryLabel());
    prompt->setObjectName(QStringLiteral("testItPrompt"));
    column->addWidget(prompt);
    a11y::describeStep(this, title->text(), prompt->text());

    m_transcript = buildTranscriptBlock();
    column->addWidget(m_transcript);

    auto* closingBox = new QVBoxLayout;
    closingBox->setSpacing(0);
    closingBox->addSpacerItem(topPadding());
    QLabel* closing =
        theme::textLabel(tr("🎉 Ready to start using Marten?"), theme::TextStyle::Title3, this);
    closing->setObjectName(QStringLiteral("testItClosing"));
    // One line, so that its padding can give way to the transcript (a wrapping label keeps
    // its whole height, padding included).
    closing->setWordWrap(false);
    closingBox->addWidget(closing);
    column->addLayout(closingBox);

    connect(&m_state, &TestItState::recordingChanged, this, &TestItView::showRecording);
    connect(&m_state, &TestItState::transcribedTextChanged, this, &TestItView::showTranscript);
    theme::followAccent(this, [this] { showRecording(m_state.isRecording()); });
    showTranscript(m_state.transcribedText());
    // Only later changes are announced: the step's arrival already reads what it shows.
    m_announcing = true;

    Platform& platform = m_context.platform;
    if (platform.pushToTalkKeys)
        m_session = new TestItSession(platform.scheduler, platform.inputAccess,
                                      *platform.pushToTalkKeys, m_state, this);
}

// The session goes first: ending it can still change the state this view follows, and a
// widget being torn down must not be redrawn.
TestItView::~TestItView()
{
    delete m_session;
}

void TestItView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_session)
        return;
    m_session->start();
    qApp->installEventFilter(this);
}

// Leaving the step, closing or minimising the window: no keyboard stays open.
void TestItView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!m_session)
        return;
    qApp->removeEventFilter(this);
    m_session->stop();
}

bool TestItView::eventFilter(QObject* watched, QEvent* event)
{
    const bool isKey = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (!isKey || !m_session->takesText() || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != window())
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!isTranscriptKey(*key))
        return QWidget::eventFilter(watched, event);
    // The release is swallowed too, or a space's release could still click a button.
    if (event->type() == QEvent::KeyPress) {
        if (key->key() == Qt::Key_Backspace)
            m_session->erase();
        else
            m_session->type(key->text());
    }
    return true;
}

// "You said:" and the transcription in a full-width card, both at the leading edge.
QWidget* TestItView::buildTranscriptBlock()
{
    m_transcript = new QWidget(this);
    m_transcript->setObjectName(QStringLiteral("transcriptBlock"));
    auto* block = new QVBoxLayout(m_transcript);
    block->setContentsMargins(0, 0, 0, 0);
    block->setSpacing(0);
    block->addSpacerItem(topPadding());
    QWidget* heading = theme::iconLabel(QStringLiteral("quote.bubble"), tr("You said:"),
                                        theme::TextStyle::Headline, QColor(), m_transcript);
    heading->setObjectName(QStringLiteral("transcriptHeading"));
    block->addWidget(heading, 0, Qt::AlignLeft);
    block->addSpacing(kTranscriptSpacing);
    auto* card = new Card(theme::green(), theme::cardRadius, m_transcript);
    card->setObjectName(QStringLiteral("transcriptCard"));
    m_transcriptText = theme::textLabel(QString(), theme::TextStyle::Body, card);
    m_transcriptText->setObjectName(QStringLiteral("transcriptText"));
    m_transcriptText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_transcriptText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_transcriptScroll = new TranscriptScroll(m_transcriptText, card);
    card->contentLayout()->addWidget(m_transcriptScroll);
    block->addWidget(card);
    return m_transcript;
}

void TestItView::showRecording(bool recording)
{
    m_mic->setPixmap(theme::symbol(QStringLiteral("mic.circle.fill"), theme::heroSymbolSize,
                                   recording ? theme::red() : theme::accent(),
                                   devicePixelRatioF()));
    m_mic->setAccessibleName(recording ? tr("Recording") : tr("Microphone"));
    if (m_announcing)
        a11y::announce(this, recording ? tr("Recording") : tr("Not recording"));
}

void TestItView::showTranscript(const QString& transcript)
{
    // Shown as transcribed; only a truly empty text hides the block (spaces still show it).
    m_transcriptText->setText(transcript);
    m_transcriptText->setAccessibleName(transcript);
    m_transcript->setVisible(!transcript.isEmpty());
    fitTranscript();
    // A transcript is typed in one key at a time: it is read out once it has rested a moment.
    if (!m_announcing)
        return;
    Scheduler& scheduler = m_context.platform.scheduler;
    scheduler.cancel(m_transcriptNotice);
    m_transcriptNotice = scheduler.after(kTranscriptRest, this, [this] {
        const QString text = m_transcriptText->text();
        if (!text.isEmpty())
            a11y::announce(this, tr("You said:") + QLatin1Char(' ') + text);
    });
}

void TestItView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitTranscript();
}

// The transcript gets what the step leaves once its paddings have given way: the other parts
// at their heights for this width, the spacings, the heading and the card's own padding.
void TestItView::fitTranscript()
{
    if (m_transcript->isHidden())
        return;
    QLayout* column = layout();
    int others = column->spacing() * (column->count() - 1) - theme::defaultPadding;
    for (int i = 0; i < column->count(); ++i) {
        QLayoutItem* item = column->itemAt(i);
        if (item->widget() != m_transcript)
            others += item->hasHeightForWidth() ? item->heightForWidth(width())
                                                : item->sizeHint().height();
    }
    const auto* heading = m_transcript->findChild<QWidget*>(QStringLiteral("transcriptHeading"));
    others += heading->sizeHint().height() + kTranscriptSpacing + 2 * theme::defaultPadding;
    static_cast<TranscriptScroll*>(m_transcriptScroll)->setRoom(height() - others);
}

} // namespace marten
