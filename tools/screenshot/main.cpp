// Renders one step of either program, in a given state, to a PNG on the offscreen platform.
//
//   marten-screenshot full|simple STATE OUT.png [WIDGET-NAME]
//   marten-screenshot --states full|simple
//
// STATE is loading, past-end, the name of any step in the program's table (the step as it
// arrives), or one of the states below, which fail where they do not apply: welcome-keyboard
// (after one Tab: the focus ring shows), permissions-checking, permissions-help (the
// input-access panel over the step), permissions-granted, signIn-alert, testIt-recording,
// testIt-transcript and testIt-transcript-N (a transcription N characters long). --states
// lists the states worth seeing for a program, in its order. Account files and input
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
#include "screens/StepTable.h"
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

#include <algorithm>

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

// The states beyond a step's arrival worth a picture, by step name.
struct MoreStates {
    const char* step;
    const char* states[3];
};
constexpr MoreStates kMoreStates[] = {
    {"welcome", {"welcome-keyboard"}},
    {"permissions", {"permissions-checking", "permissions-help", "permissions-granted"}},
    {"signIn", {"signIn-alert"}},
    {"testIt", {"testIt-recording", "testIt-transcript", "testIt-transcript-2000"}},
};

// The program's steps in its order, each followed by its further states.
QStringList statesOf(Variant variant)
{
    QList<const StepRow*> rows;
    for (const StepRow& row : onboardingSteps())
        if (row.placeIn(variant) > 0)
            rows.append(&row);
    std::stable_sort(rows.begin(), rows.end(), [variant](const StepRow* a, const StepRow* b) {
        return a->placeIn(variant) < b->placeIn(variant);
    });
    QStringList states{QStringLiteral("loading")};
    for (const StepRow* row : rows) {
        states << stepName(row);
        for (const MoreStates& more : kMoreStates)
            if (stepName(row) == QLatin1String(more.step))
                for (const char* state : more.states)
                    if (state)
                        states << QLatin1String(state);
    }
    states << QStringLiteral("past-end");
    return states;
}

const StepRow* rowNamed(const QString& name)
{
    for (const StepRow& row : onboardingSteps())
        if (stepName(&row) == name)
            return &row;
    return nullptr;
}

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
        while (flow.currentStep() && marten::stepName(flow.currentStep()) != stepName)
            flow.nextStep();
        if (!flow.currentStep())
            return false;
    }
    return true;
}

// Puts the step on display into the state's condition; false when it does not apply there.
bool act(const QString& state, OnboardingWindow& window, fake::Services& services)
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
        auto* cont = button(view, "continueButton");
        if (!cont)
            return false;
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
    return true;
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
    if (args.size() == 3 && args.at(1) == QLatin1String("--states")) {
        const Variant variant =
            args.at(2) == QLatin1String("simple") ? Variant::Simple : Variant::Full;
        for (const QString& state : statesOf(variant))
            std::printf("%s\n", qPrintable(state));
        return 0;
    }
    if (args.size() != 4 && args.size() != 5)
        return fail("usage: marten-screenshot full|simple STATE OUT.png [WIDGET-NAME]");
    const Variant variant = args.at(1) == QLatin1String("simple") ? Variant::Simple : Variant::Full;
    const QString state = args.at(2);
    const QString out = args.at(3);

    fake::Services services;
    AssetPaths assets = AssetPaths::forCurrentProcess();
    assets.homeDir = home.path();

    // Pick the account state and input access that put the wanted step in the list.
    if (const StepRow* row = rowNamed(state.section(QLatin1Char('-'), 0, 0));
        row && row->need == StepNeed::subscription)
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
        if (!act(state, window, services))
            return fail("that state does not apply to this program's step");
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
