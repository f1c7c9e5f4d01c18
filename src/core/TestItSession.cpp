#include "core/TestItSession.h"

#include "core/TestItState.h"
#include "core/platform/InputAccessProbe.h"
#include "core/platform/PushToTalkKeys.h"

namespace marten {

TestItSession::TestItSession(Scheduler& scheduler, const InputAccessProbe& probe,
                             PushToTalkKeys& keys, TestItState& state, QObject* parent)
    : QObject(parent), m_scheduler(scheduler), m_probe(probe), m_keys(keys), m_state(state)
{
    connect(&m_keys, &PushToTalkKeys::pressed, this, &TestItSession::pressed);
    connect(&m_keys, &PushToTalkKeys::released, this, &TestItSession::released);
}

TestItSession::~TestItSession()
{
    stop();
}

void TestItSession::start()
{
    if (m_running)
        return;
    m_running = true;
    listenToKeyboards();
    m_rescan = m_scheduler.every(kRescanInterval, this, [this] { listenToKeyboards(); });
}

void TestItSession::stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_scheduler.cancel(m_rescan);
    m_scheduler.cancel(m_textEnds);
    m_rescan = m_textEnds = 0;
    m_keys.stop();
    m_takesText = false;
    m_state.setRecording(false);
}

void TestItSession::listenToKeyboards()
{
    m_keys.start(m_probe.readableKeyboards());
}

void TestItSession::pressed()
{
    if (!m_running)
        return;
    m_scheduler.cancel(m_textEnds);
    m_textEnds = 0;
    m_takesText = true;
    m_state.setTranscribedText(QString());
    m_state.setRecording(true);
}

void TestItSession::released()
{
    if (!m_running || !m_state.isRecording())
        return;
    m_state.setRecording(false);
    keepTakingText();
}

// Text typed while the window is open keeps it open, so that a transcription arriving near
// its end is not cut off, with its rest pressing whichever button has the focus.
void TestItSession::keepTakingText()
{
    if (m_state.isRecording())
        return; // open until the release anyway
    m_scheduler.cancel(m_textEnds);
    m_textEnds = m_scheduler.after(kTextWindow, this, [this] {
        m_textEnds = 0;
        m_takesText = false;
    });
}

void TestItSession::type(const QString& text)
{
    if (!m_takesText)
        return;
    m_state.setTranscribedText(m_state.transcribedText() + text);
    keepTakingText();
}

void TestItSession::erase()
{
    if (!m_takesText)
        return;
    QString text = m_state.transcribedText();
    const qsizetype size = text.size();
    const bool pair =
        size >= 2 && text.at(size - 1).isLowSurrogate() && text.at(size - 2).isHighSurrogate();
    text.chop(pair ? 2 : 1);
    m_state.setTranscribedText(text);
    keepTakingText();
}

} // namespace marten
