#pragma once

#include "screens/ScreenContext.h"

#include <QWidget>

class QLabel;

namespace marten {

class TestItState;

// Invites the user to try the gesture once. Shows the flow's recording flag (the microphone
// turns red) and the last transcription (a "You said:" card) as they change; never writes them.
class TestItView final : public QWidget {
    Q_OBJECT
public:
    TestItView(const ScreenContext& context, TestItState& state, QWidget* parent = nullptr);

    // The "You said:" block; hidden while there is no transcription.
    QWidget* transcriptBlock() const { return m_transcript; }

private:
    QWidget* buildTranscriptBlock();
    void showRecording(bool recording);
    void showTranscript(const QString& text);

    ScreenContext m_context;
    TestItState& m_state;
    QLabel* m_mic;
    QWidget* m_transcript;
    QLabel* m_transcriptText;
};

} // namespace marten
