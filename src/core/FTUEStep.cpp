#include "core/FTUEStep.h"

namespace marten {

QString stepName(FTUEStep step)
{
    switch (step) {
    case FTUEStep::welcome:
        return QStringLiteral("welcome");
    case FTUEStep::permissions:
        return QStringLiteral("permissions");
    case FTUEStep::howToUse:
        return QStringLiteral("howToUse");
    case FTUEStep::signIn:
        return QStringLiteral("signIn");
    case FTUEStep::purchase:
        return QStringLiteral("purchase");
    case FTUEStep::testIt:
        return QStringLiteral("testIt");
    }
    return {};
}

} // namespace marten
