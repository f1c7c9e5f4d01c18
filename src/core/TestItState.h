#pragma once

#include <QObject>
#include <QString>

namespace marten {

// The two values the test-it screen shows. Owned by the flow; a TestItSession writes them while
// the step is on screen, and without one they stay idle. Main thread only.
class TestItState final : public QObject {
    Q_OBJECT
public:
    explicit TestItState(QObject* parent = nullptr) : QObject(parent) {}

    bool isRecording() const { return m_isRecording; }
    QString transcribedText() const { return m_transcribedText; }

    void setRecording(bool recording)
    {
        if (recording == m_isRecording)
            return;
        m_isRecording = recording;
        emit recordingChanged(recording);
    }
    void setTranscribedText(const QString& text)
    {
        if (text == m_transcribedText)
            return;
        m_transcribedText = text;
        emit transcribedTextChanged(text);
    }

signals:
    void recordingChanged(bool recording);
    void transcribedTextChanged(const QString& text);

private:
    bool m_isRecording = false;
    QString m_transcribedText;
};

} // namespace marten
