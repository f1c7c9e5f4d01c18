#pragma once

#include "screens/ScreenContext.h"

#include <QImage>
#include <QWidget>

template <typename T> class QFutureWatcher;
class QLabel;

namespace marten {

// The first step: an animation (the glowing orb, its still frame, or a microphone symbol,
// whichever exists when the screen is built), the title and the tagline.
class WelcomeView final : public QWidget {
    Q_OBJECT
public:
    enum class AnimationForm { GIF, StillImage, Symbol };

    explicit WelcomeView(const ScreenContext& context, QWidget* parent = nullptr);
    ~WelcomeView() override;

    AnimationForm animationForm() const { return m_form; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildSymbolArea();
    QWidget* buildGIFArea(const QString& path);
    QWidget* buildStillImageArea(const QString& path);
    void showStillImage(const QImage& image);

    ScreenContext m_context;
    AnimationForm m_form = AnimationForm::Symbol;
    QWidget* m_area = nullptr;
    QString m_gifPath;
    QFutureWatcher<QImage>* m_stillLoad = nullptr;
};

} // namespace marten
