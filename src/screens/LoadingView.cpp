#include "screens/LoadingView.h"

#include "core/AssetLookup.h"
#include "core/platform/Console.h"
#include "core/platform/Platform.h"
#include "ui/Accessibility.h"
#include "ui/FirstPaint.h"
#include "ui/GIFMovieView.h"
#include "ui/IconLabel.h"
#include "ui/Spinner.h"
#include "ui/Theme.h"

#include <QLabel>
#include <QVBoxLayout>

namespace marten {

LoadingView::LoadingView(const VariantTraits& traits, Platform& platform, QWidget* parent)
    : QWidget(parent), m_traits(traits)
{
    setObjectName(QStringLiteral("loadingView"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addStretch();

    if (traits.animatedLoadingView) {
        column->setSpacing(24);
        if (const auto gif = findAssetURL(QStringLiteral("glowy.gif"), platform.assets)) {
            // The view stays transparent until its page has loaded anyway, so it is staged
            // just after the window's first frame instead of delaying that frame.
            auto* slot = new QWidget(this);
            slot->setObjectName(QStringLiteral("loadingAnimation"));
            slot->setFixedSize(200, 200);
            column->addWidget(slot, 0, Qt::AlignHCenter);
            afterFirstPaint(slot, [slot, url = *gif, &platform] {
                auto* view = new GIFMovieView(url, platform.staging, platform.console, slot);
                view->setGeometry(slot->rect());
                view->show();
            });
        } else {
            column->addItem(
                decorativeSymbol(QStringLiteral("mic.fill"), 80, theme::accent(), this));
        }
        m_caption = theme::textLabel(tr("Starting Marten..."), theme::TextStyle::Title2, this,
                                     QFont::Medium, theme::black());
        column->addWidget(m_caption);
    } else {
        column->setSpacing(0);
        column->addWidget(new Spinner(Spinner::kDefaultDiameter, this), 0, Qt::AlignHCenter);
        column->addSpacing(8 + 6); // 8 px of padding plus the stack's default spacing
        m_caption = theme::textLabel(tr("Preparing your experience..."), theme::TextStyle::Caption,
                                     this, QFont::Normal, theme::secondaryLabel());
        column->addWidget(m_caption);
    }
    m_caption->setObjectName(QStringLiteral("loadingCaption"));
    a11y::describeStep(this, m_caption->text(), QString());
    column->addStretch();
}

void LoadingView::setStepsKnown(bool known)
{
    if (m_traits.animatedLoadingView)
        m_caption->setText(known ? tr("Preparing your experience...") : tr("Starting Marten..."));
    // The loading page is not shown again once the steps are known: its animation (the GIF's
    // bytes and decoded frames) goes now, before the welcome step builds its own.
    if (known)
        qDeleteAll(findChildren<GIFMovieView*>());
    setAccessibleName(m_caption->text());
}

} // namespace marten
