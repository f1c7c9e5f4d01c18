#pragma once

#include "core/Variant.h"

#include <QList>
#include <QString>

#include <span>

class QWidget;

namespace marten {

struct ScreenContext;

// Why a step is in a user's list. The flow also knows a step by its need: it watches input
// access while the input-access step is on display, and a finished sign-in moves past the
// sign-in step.
enum class StepNeed {
    always,
    inputAccess,  // only while input access is missing
    signIn,       // only for a signed-out user
    subscription, // only for a signed-in user without a subscription
};

// The button below a step.
enum class StepButtonRule {
    next,          // "Next", or "Get Started" completing the onboarding on the last step
    nextIfGranted, // the same, but only when input access is there as the step is built
    none,          // the screen brings its own buttons
};

// One step of the onboarding: a row of the step table (screens/StepTable.cpp).
struct StepRow {
    const char* name; // the step's id: logs, the screenshot tool's states, the tests' walks
    // Builds the step's screen. Only the view calls it; the flow needs the rest of the row.
    QWidget* (*makeScreen)(const ScreenContext& context, QWidget* parent);
    // Where the step stands in each program: steps are shown in ascending order; 0 leaves
    // the step out of that program.
    struct {
        int full = 0;
        int simple = 0;
    } place;
    StepNeed need = StepNeed::always;
    StepButtonRule button = StepButtonRule::next;

    int placeIn(Variant variant) const
    {
        return variant == Variant::Full ? place.full : place.simple;
    }
};

using StepTable = std::span<const StepRow>;
// The steps one user sees, in order; rows of the table the flow was given.
using StepList = QList<const StepRow*>;

inline QString stepName(const StepRow* step)
{
    return step ? QString::fromLatin1(step->name) : QString();
}

} // namespace marten
