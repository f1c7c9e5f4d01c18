#pragma once

#include <QList>
#include <QString>

namespace marten {

// The onboarding steps. `purchase` exists only in the full program, `testIt` only in the
// simple one.
enum class FTUEStep { welcome, permissions, howToUse, signIn, purchase, testIt };

using StepList = QList<FTUEStep>;

QString stepName(FTUEStep step);

} // namespace marten
