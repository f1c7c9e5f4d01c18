#pragma once

#include "core/Variant.h"

#include <QWidget>

class QLabel;

namespace marten {

struct Platform;

// Shown while the steps are decided (and, for a subscribed user, until onboarding ends).
class LoadingView final : public QWidget {
    Q_OBJECT
public:
    LoadingView(const VariantTraits& traits, Platform& platform, QWidget* parent = nullptr);

    // Full program: "Starting Marten..." while no steps are known, then the second caption.
    void setStepsKnown(bool known);

private:
    const VariantTraits& m_traits;
    QLabel* m_caption = nullptr;
};

} // namespace marten
