#pragma once

#include "core/platform/Scheduler.h"
#include "screens/ScreenContext.h"

#include <QWidget>

class QLabel;

namespace marten {

class TestItSession;
class TestItState;

// Invites the user to try the gesture once. Shows the flow's recording flag (the microphone
// turns red) and the last transcription (a "You said:" card) as they change. While shown, and
// where the platform reads the push-to-talk key, a session drives both, and printable keys
// typed into this window while it takes text go to the transcript instead of the focused
// control.
class TestItView final : public QWidget {
    Q_OBJECT
public:
    explicit TestItView(const ScreenContext& context, QWidget* parent = nullptr);
    ~TestItView() override;

    // The "You said:" block; hidden while there is no transcription.
    QWidget* transcriptBlock() const { return m_transcript; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* buildTranscriptBlock();
    void showRecording(bool recording);
    void showTranscript(const QString& text);
    void fitTranscript();

    ScreenContext m_context;
    TestItState& m_state;
    QLabel* m_mic;
    QWidget* m_transcript;
    QLabel* m_transcriptText;
    QWidget* m_transcriptScroll;
    TestItSession* m_session = nullptr;
    Scheduler::TaskId m_transcriptNotice = 0;
    bool m_announcing = false;
};

} // namespace marten
