// Runs a real onboarding program (the same entry as the shipped executables) and reports
// when its first frame was painted, when the step list was decided, its peak RSS with the
// animated welcome step on screen, and its CPU use while idling on the how-to-use step.
//
//   bench_onboarding full|simple [idle seconds]
#include "FrameMark.h"

#include "app/Application.h"
#include "app/OnboardingWindow.h"
#include "core/OnboardingFlow.h"

#include <QApplication>
#include <QTimer>

#include <cstring>

using namespace marten;

int main(int argc, char** argv)
{
    mark("main", monotonicSeconds());
    const Variant variant =
        argc > 1 && std::strcmp(argv[1], "simple") == 0 ? Variant::Simple : Variant::Full;
    const int idleMs = argc > 2 ? std::atoi(argv[2]) * 1000 : 10000;

    RunHooks hooks;
    hooks.windowCreated = [idleMs](OnboardingWindow& window) {
        mark("window_created", monotonicSeconds());
        new FirstFrameMark(&window);
        OnboardingFlow* flow = &window.flow();
        QObject::connect(flow, &OnboardingFlow::stepsDecided, flow, [flow, idleMs] {
            mark("steps_decided", monotonicSeconds());
            // Let the welcome animation play a while, then step on as a person would, one
            // step at a time, to a still step, and idle there.
            auto* walk = new QTimer(flow);
            walk->setInterval(400);
            QObject::connect(walk, &QTimer::timeout, flow, [flow, walk, idleMs] {
                if (flow->currentStep() &&
                    stepName(flow->currentStep()) != QLatin1String("howToUse")) {
                    flow->nextStep();
                    return;
                }
                walk->stop();
                QTimer::singleShot(500, flow, [idleMs] {
                    const double cpu = cpuSeconds();
                    QTimer::singleShot(idleMs, [cpu, idleMs] {
                        mark("idle_cpu_percent", 100.0 * (cpuSeconds() - cpu) / (idleMs / 1000.0));
                        mark("peak_rss_kib", double(peakRssKiB()));
                        QApplication::quit();
                    });
                });
            });
            QTimer::singleShot(1500, walk, qOverload<>(&QTimer::start));
        });
    };
    return runOnboarding(variant, argc, argv, &hooks);
}
