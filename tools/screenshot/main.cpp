// Renders one step of either program, in a given state, to a PNG on the offscreen platform.
//
//   marten-screenshot full|simple STATE OUT.png
//
// STATE is one of: loading, welcome, permissions, permissions-checking, permissions-help (the
// input-access panel over the step), permissions-granted,
// howToUse, signIn, signIn-alert, purchase, testIt, testIt-recording, testIt-transcript,
// testIt-transcript-N (a transcription N characters long),
// past-end, and welcome-keyboard (after one Tab: the focus ring shows). Account files and input
// access are faked; nothing of the user's is touched. Texts follow the locale in the environment,
// as in the programs (LANG=de_DE.UTF-8: German). MARTEN_SCREENSHOT_ACCENT=#RRGGBB stands in for
// the desktop's accent colour.

#include "app/FTUEView.h"
#include "app/OnboardingWindow.h"
#include "app/Translations.h"
#include "core/OnboardingFlow.h"
#include "core/TestItState.h"
#include "core/platform/InputAccessProbe.h"
#include "core/platform/Platform.h"
#include "fakes/Fakes.h"
#include "ui/Theme.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include <condition_variable>
#include <cstdio>
#include <mutex>

using namespace marten;

namespace {

void pump(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

int fail(const char* message)
{
    std::fprintf(stderr, "marten-screenshot: %s\n", message);
    return 2;
}

void writeAccount(const QString& home, const char* name, const QByteArray& json)
{
    QFile file(home + QLatin1Char('/') + QLatin1String(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(json);
}

// Answers like the fake probe, but only once released: the decision that asks it waits, so
// the loading view stays on display for as long as the picture needs.
class HeldProbe final : public InputAccessProbe {
public:
    explicit HeldProbe(const InputAccessProbe& answer) : m_answer(answer) {}
    bool hasInputAccess() const override
    {
        std::unique_lock lock(m_mutex);
        m_released.wait(lock, [this] { return m_open; });
        return m_answer.hasInputAccess();
    }
    void release()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_released.notify_all();
    }

private:
    const InputAccessProbe& m_answer;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_released;
    bool m_open = false;
};

QAbstractButton* button(QWidget* root, const char* objectName)
{
    return root->findChild<QAbstractButton*>(QLatin1String(objectName));
}

// Steps the flow on to the state's step; false when the program has no such step.
bool goTo(OnboardingFlow& flow, const QString& state)
{
    const QString stepName = state.section(QLatin1Char('-'), 0, 0);
    if (state == QLatin1String("past-end")) {
        while (flow.currentStepIndex() < flow.steps().size())
            flow.nextStep();
    } else {
        while (flow.currentStep() && marten::stepName(*flow.currentStep()) != stepName)
            flow.nextStep();
        if (!flow.currentStep())
            return false;
    }
    return true;
}

// Puts the step on display into the state's condition.
void act(const QString& state, OnboardingWindow& window, fake::Services& services)
{
    OnboardingFlow& flow = window.flow();
    FTUEView* view = window.view();
    // The permission step's own states, without the panel its button opens over it.
    if (state.startsWith(QLatin1String("permissions-")) &&
        state != QLatin1String("permissions-help"))
        QObject::disconnect(&flow, &OnboardingFlow::inputAccessHelpRequested, &window, nullptr);
    if (state == QLatin1String("permissions-checking")) {
        if (auto* open = button(view, "openSettingsButton"))
            open->click();
    } else if (state == QLatin1String("permissions-granted")) {
        if (auto* open = button(view, "openSettingsButton"))
            open->click();
        services.probe.granted = true;
        services.scheduler.advance(std::chrono::seconds(1));
    } else if (state == QLatin1String("welcome-keyboard")) {
        if (QWidget* focused = QApplication::focusWidget()) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(focused, &tab);
        }
    } else if (state == QLatin1String("signIn-alert")) {
        if (auto* cont = button(view, "continueButton"))
            QTimer::singleShot(0, cont, &QAbstractButton::click);
    } else if (state == QLatin1String("permissions-help")) {
        // The panel as the desktop shows it where access can be granted in one step.
        services.granter.grantable = true;
        window.showInputAccessPanel();
    } else if (state == QLatin1String("testIt-recording")) {
        flow.testItState().setRecording(true);
    } else if (state == QLatin1String("testIt-transcript")) {
        flow.testItState().setTranscribedText(
            QStringLiteral("Remind me to call the bakery about Saturday's order."));
    } else if (state.startsWith(QLatin1String("testIt-transcript-"))) {
        // testIt-transcript-N: a transcription N characters long, numbered words.
        const int length = state.section(QLatin1Char('-'), 2).toInt();
        QString text;
        for (int word = 1; text.size() < length; ++word)
            text += QStringLiteral("word%1 ").arg(word);
        flow.testItState().setTranscribedText(text.left(length));
    }
}

// The window, or only the part covered by its child named `part` (at the screen's scale).
QImage grabPart(QWidget& window, const QString& part)
{
    const QImage image = window.grab().toImage();
    if (part.isEmpty())
        return image;
    const auto* child = window.findChild<QWidget*>(part);
    if (!child)
        return {};
    const QRect logical(child->mapTo(&window, QPoint(0, 0)), child->size());
    const qreal scale = image.devicePixelRatio();
    return image.copy(QRectF(logical.x() * scale, logical.y() * scale, logical.width() * scale,
                             logical.height() * scale)
                          .toAlignedRect());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    QApplication app(argc, argv);
    theme::apply(app);
    if (const QString accent = qEnvironmentVariable("MARTEN_SCREENSHOT_ACCENT"); !accent.isEmpty())
        theme::setAccent(QColor::fromString(accent));
    // The same translation the programs pick: the one for the locale in the environment.
    QTranslator translator;
    if (loadTranslation(translator, QLocale()))
        QApplication::installTranslator(&translator);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4 && args.size() != 5)
        return fail("usage: marten-screenshot full|simple STATE OUT.png [WIDGET-NAME]");
    const Variant variant = args.at(1) == QLatin1String("simple") ? Variant::Simple : Variant::Full;
    const QString state = args.at(2);
    const QString out = args.at(3);

    fake::Services services;
    AssetPaths assets = AssetPaths::forCurrentProcess();
    assets.homeDir = home.path();

    // Pick the account state and input access that put the wanted step in the list.
    if (state.startsWith(QLatin1String("purchase")))
        writeAccount(home.path(), ".marten_auth_local.json", R"({"token":"t"})");
    // Without input access the permission step is in the list; it is granted later on demand.
    services.probe.granted = false;

    // For the loading view the decision is held back until the picture is taken.
    const bool loading = state == QLatin1String("loading");
    HeldProbe heldProbe(services.probe);
    if (!loading)
        heldProbe.release();
    Platform platform = services.platformWith(&heldProbe);
    platform.assets = assets;

    OnboardingWindow window(variant, platform);
    OnboardingFlow* flow = &window.flow();
    window.show();
    if (loading) {
        pump(400); // the animation is staged after the first frame
    } else {
        for (int i = 0; i < 200 && flow->isLoading(); ++i)
            pump(10);
        if (!goTo(*flow, state))
            return fail("that step is not in this program's list");
        pump(300);
        act(state, window, services);
        pump(300);
    }

    const QImage image = grabPart(window, args.value(4));
    if (image.isNull()) {
        heldProbe.release();
        return fail("no such widget on that step");
    }
    heldProbe.release();
    if (!image.save(out))
        return fail("cannot write the PNG");
    std::printf("%s\n", qPrintable(out));
    return 0;
}
