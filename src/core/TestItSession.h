#pragma once

#include "core/platform/Scheduler.h"

#include <QObject>

namespace marten {

class InputAccessProbe;
class PushToTalkKeys;
class TestItState;

// What drives the test step while it is on screen. The push-to-talk key, read from the
// keyboards the input-access probe lists (asked again every second, so that a keyboard
// plugged in meanwhile counts), sets the recording flag and clears it. The main application
// delivers a transcription by typing it into this window, so text typed from a press until
// 10 s after the release (or after the last typed character, if later) is the transcript.
// A new press starts a new one. Main thread only.
class TestItSession final : public QObject {
    Q_OBJECT
public:
    static constexpr Scheduler::Duration kTextWindow{10000};
    static constexpr Scheduler::Duration kRescanInterval{1000};

    TestItSession(Scheduler& scheduler, const InputAccessProbe& probe, PushToTalkKeys& keys,
                  TestItState& state, QObject* parent = nullptr);
    ~TestItSession() override;

    void start();
    // Closes every keyboard and ends recording and the text window; the transcript stays.
    void stop();

    // Whether typed text goes to the transcript now.
    bool takesText() const { return m_takesText; }
    // Adds to the transcript / takes its last character away; only while takesText().
    void type(const QString& text);
    void erase();

private:
    void listenToKeyboards();
    void pressed();
    void released();
    void keepTakingText();

    Scheduler& m_scheduler;
    const InputAccessProbe& m_probe;
    PushToTalkKeys& m_keys;
    TestItState& m_state;
    bool m_running = false;
    bool m_takesText = false;
    Scheduler::TaskId m_rescan = 0;
    Scheduler::TaskId m_textEnds = 0;
};

} // namespace marten
