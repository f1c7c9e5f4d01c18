#include "ui/MartenSocialButton.h"

#include "core/RegularFile.h"
#include "ui/FocusRing.h"
#include "ui/Theme.h"

#include <QBuffer>
#include <QFutureWatcher>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QtConcurrent/QtConcurrentRun>

namespace marten {
namespace {

constexpr qreal kPressedOpacity = 0.7;
// Logos are kept at a few times the slot size so they stay sharp on dense screens.
constexpr int kKeptImageSide = 4 * MartenSocialButton::kIconSide;
// Anything larger than this is not a logo; it is refused before it is decoded.
constexpr int kLargestImageSide = 4096;

QFont titleFont()
{
    return theme::systemFont(12, QFont::DemiBold);
}

// Runs on a worker thread: reads the file as every media file is read (a regular file within
// the cap, opened without waiting, so a FIFO swapped in after the lookup blocks nothing),
// decodes the bytes and shrinks the result to what the slot can use.
QImage decodeIcon(const QString& path)
{
    QByteArray bytes = readRegularFile(path, maxAssetSize).valueOr({});
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    // A PNG, as the build makes them, is read by the built-in reader alone: left to guess, the
    // reader loads every image plugin (and the libraries behind them) to ask each in turn.
    const bool png = bytes.startsWith("\x89PNG\r\n\x1a\n");
    QImageReader reader(&buffer, png ? QByteArray("png") : QByteArray());
    reader.setAutoDetectImageFormat(!png);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kLargestImageSide || size.height() > kLargestImageSide))
        return {};
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (image.width() > kKeptImageSide || image.height() > kKeptImageSide)
        image = image.scaled(kKeptImageSide, kKeptImageSide, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    return image;
}

} // namespace

MartenSocialButton::MartenSocialButton(const QString& title, IconKind icon,
                                       const AssetPaths& assets, QWidget* parent)
    : QAbstractButton(parent), m_icon(std::move(icon))
{
    setObjectName(QStringLiteral("socialButton"));
    setText(title);
    setAccessibleName(title);
    // Reached with Tab; a mouse press does not move the focus (and its ring) here.
    setFocusPolicy(Qt::TabFocus);
    focusring::watchKeyboardNavigation();
    setCursor(Qt::PointingHandCursor);
    setFont(titleFont());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(kHeight);
    if (m_icon.kind == IconKind::Case::asset)
        loadAssetIcon(assets);
}

MartenSocialButton::~MartenSocialButton()
{
    // The decoding job holds nothing of ours; it finishes on its own and is discarded.
    if (m_loader)
        m_loader->disconnect(this);
}

void MartenSocialButton::loadAssetIcon(const AssetPaths& assets)
{
    const std::optional<QUrl> url = findAssetURL(m_icon.name, assets);
    if (!url) {
        setStatus(IconStatus::Missing);
        return;
    }
    setStatus(IconStatus::Loading);
    m_loader = new QFutureWatcher<QImage>(this);
    connect(m_loader, &QFutureWatcherBase::finished, this, [this] {
        m_image = m_loader->result();
        setStatus(m_image.isNull() ? IconStatus::Failed : IconStatus::Loaded);
        update(iconRect());
    });
    const QString path = url->toLocalFile();
    m_loader->setFuture(QtConcurrent::run([path] { return decodeIcon(path); }));
}

void MartenSocialButton::setStatus(IconStatus status)
{
    m_status = status;
}

QRect MartenSocialButton::iconRect() const
{
    return {kHorizontalPadding, (height() - kIconSide) / 2, kIconSide, kIconSide};
}

QRect MartenSocialButton::titleRect() const
{
    // The trailing spacer keeps one spacing after the title, then the padding.
    const int width = qMax(0, this->width() - kTitleX - kSpacing - kHorizontalPadding);
    return {kTitleX, 0, width, height()};
}

QString MartenSocialButton::displayedTitle() const
{
    return QFontMetrics(font()).elidedText(text(), Qt::ElideRight, titleRect().width());
}

QSize MartenSocialButton::sizeHint() const
{
    const int titleWidth = QFontMetrics(font()).horizontalAdvance(text());
    return {kTitleX + titleWidth + kSpacing + kHorizontalPadding, kHeight};
}

QSize MartenSocialButton::minimumSizeHint() const
{
    const int ellipsis = QFontMetrics(font()).horizontalAdvance(QStringLiteral("…"));
    return {kTitleX + ellipsis + kSpacing + kHorizontalPadding, kHeight};
}

void MartenSocialButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (isDown())
        p.setOpacity(kPressedOpacity);

    // Outline: a 1 px pill; the radius is clamped to half the height, so the ends are round.
    const QRectF outline = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = qMin<qreal>(kRadius, outline.height() / 2);
    p.setPen(QPen(theme::withOpacity(theme::gray(), 0.4), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(outline, radius, radius);
    if (focusring::visible(this))
        focusring::draw(p, QRectF(rect()), qMin<qreal>(kRadius, height() / 2.0));

    const QRect slot = iconRect();
    switch (m_status) {
    case IconStatus::Symbol:
        p.drawPixmap(slot,
                     theme::symbol(m_icon.name, kIconSide, theme::black(), devicePixelRatioF()));
        break;
    case IconStatus::Loaded: {
        QSizeF fitted = QSizeF(m_image.size()).scaled(QSizeF(slot.size()), Qt::KeepAspectRatio);
        const QRectF target(slot.x() + (slot.width() - fitted.width()) / 2,
                            slot.y() + (slot.height() - fitted.height()) / 2, fitted.width(),
                            fitted.height());
        p.drawImage(target, m_image);
        break;
    }
    case IconStatus::Loading:
    case IconStatus::Missing:
    case IconStatus::Failed:
        p.fillRect(slot, theme::withOpacity(theme::gray(), 0.2));
        break;
    }

    p.setPen(theme::black());
    p.setFont(font());
    p.drawText(titleRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               displayedTitle());
}

void MartenSocialButton::keyPressEvent(QKeyEvent* event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        animateClick();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace marten
