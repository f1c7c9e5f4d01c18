#include "screens/WelcomeView.h"

#include "core/AssetLookup.h"
#include "core/RegularFile.h"
#include "core/platform/Console.h"
#include "ui/Accessibility.h"
#include "ui/GIFMovieView.h"
#include "ui/IconLabel.h"
#include "ui/Spinner.h"
#include "ui/Theme.h"

#include <QEvent>
#include <QFutureWatcher>
#include <QLabel>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace marten {
namespace {

constexpr int kAnimationSide = 200;

QVBoxLayout* centredBox(QWidget* area)
{
    auto* box = new QVBoxLayout(area);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    return box;
}

} // namespace

WelcomeView::WelcomeView(const ScreenContext& context, QWidget* parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("welcomeView"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(theme::screenSpacing);

    // The form follows whichever asset exists right now; the still image is only looked for
    // when there is no GIF.
    const AssetPaths& assets = m_context.platform.assets;
    if (const auto gif = findAssetURL(QStringLiteral("glowy.gif"), assets)) {
        m_form = AnimationForm::GIF;
        m_area = buildGIFArea(gif->toLocalFile());
    } else if (const auto still = findAssetURL(QStringLiteral("glowy.png"), assets)) {
        m_form = AnimationForm::StillImage;
        m_area = buildStillImageArea(still->toLocalFile());
    } else {
        m_form = AnimationForm::Symbol;
        m_area = buildSymbolArea();
    }
    column->addWidget(m_area, 0, Qt::AlignHCenter);

    QLabel* title =
        theme::textLabel(tr("Welcome to Marten"), theme::TextStyle::LargeTitle, this, QFont::Bold);
    title->setObjectName(QStringLiteral("welcomeTitle"));
    column->addWidget(title);

    QLabel* tagline = theme::textLabel(tr("speak to type, anywhere"), theme::TextStyle::Title2,
                                       this, QFont::Normal, theme::secondaryLabel());
    tagline->setObjectName(QStringLiteral("welcomeTagline"));
    column->addWidget(tagline);
    a11y::describeStep(this, title->text(), tagline->text());
}

WelcomeView::~WelcomeView()
{
    if (m_form == AnimationForm::GIF)
        m_area->removeEventFilter(this);
}

QWidget* WelcomeView::buildSymbolArea()
{
    // Painted by the area itself: it stands in for the animation and says nothing.
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("symbol:mic.fill"));
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addItem(
        decorativeSymbol(QStringLiteral("mic.fill"), theme::heroSymbolSize, theme::accent(), area));
    return area;
}

QWidget* WelcomeView::buildGIFArea(const QString& path)
{
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("welcomeGIFArea"));
    area->setFixedSize(kAnimationSide, kAnimationSide);
    // A faint gray square until the page paints its white over it.
    area->setAutoFillBackground(true);
    QPalette palette = area->palette();
    palette.setColor(QPalette::Window, theme::withOpacity(theme::gray(), 0.1));
    area->setPalette(palette);
    centredBox(area)->addWidget(new GIFMovieView(
        QUrl::fromLocalFile(path), m_context.platform.staging, m_context.platform.console, area));
    m_gifPath = path;
    area->installEventFilter(this);
    return area;
}

QWidget* WelcomeView::buildStillImageArea(const QString& path)
{
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("welcomeStillImageArea"));
    area->setFixedSize(kAnimationSide, kAnimationSide);
    centredBox(area)->addWidget(new Spinner(Spinner::kDefaultDiameter, area), 0, Qt::AlignCenter);

    // Decoding happens off the main thread; an image that cannot be read leaves the spinner.
    m_stillLoad = new QFutureWatcher<QImage>(this);
    connect(m_stillLoad, &QFutureWatcherBase::finished, this,
            [this] { showStillImage(m_stillLoad->result()); });
    // Read as the media rule says (regular file, no waiting, capped), then decoded.
    m_stillLoad->setFuture(QtConcurrent::run(
        [path] { return QImage::fromData(readRegularFile(path, maxAssetSize).valueOr({})); }));
    return area;
}

void WelcomeView::showStillImage(const QImage& image)
{
    if (image.isNull())
        return;
    delete m_area->findChild<Spinner*>();
    // Stretched or shrunk to fit the square, keeping its proportions.
    const QSize fitted = image.size().scaled(kAnimationSide, kAnimationSide, Qt::KeepAspectRatio);
    const qreal dpr = devicePixelRatioF();
    QPixmap pixmap = QPixmap::fromImage(
        image.scaled(fitted * dpr, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(dpr);
    auto* label = new QLabel(m_area);
    label->setObjectName(QStringLiteral("welcomeStillImage"));
    label->setPixmap(pixmap);
    label->setFixedSize(fitted);
    static_cast<QVBoxLayout*>(m_area->layout())->addWidget(label, 0, Qt::AlignCenter);
    label->show();
}

bool WelcomeView::eventFilter(QObject* watched, QEvent* event)
{
    // Each time the GIF comes on screen (not when the window is merely restored).
    if (watched == m_area && event->type() == QEvent::Show && !event->spontaneous())
        m_context.platform.console.line(QStringLiteral("GIF found at: ") + m_gifPath);
    return QWidget::eventFilter(watched, event);
}

} // namespace marten
