// What the program takes from the desktop's theme and what it keeps its own: the desktop's
// accent colour, made dark enough for white text; the program's font for every widget; one
// look for scroll bars.
#include "ui/Theme.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QByteArrayList>
#include <QEvent>
#include <QPointer>
#include <QScrollBar>
#include <QWidget>

#include <cmath>
#include <functional>
#include <vector>

namespace marten::theme {

namespace {

// White text on a fill keeps a contrast of 4.5:1 up to this relative luminance:
// (1 + 0.05) / (L + 0.05) >= 4.5.
constexpr double kFillLuminance = 1.05 / 4.5 - 0.05;
// The focus ring is darker still, so that it reads on white and on an accent fill alike.
constexpr double kRingLuminance = 0.07;

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// The colour with its HSL lightness lowered, in steps, until its luminance is at most `limit`;
// hue and saturation stay, so a green accent stays green.
QColor darkenedTo(const QColor& colour, double limit)
{
    QColor hsl = colour.toHsl();
    while (relativeLuminance(hsl) > limit && hsl.lightness() > 0)
        hsl.setHsl(hsl.hslHue(), hsl.hslSaturation(), hsl.lightness() - 1, hsl.alpha());
    return QColor::fromRgb(hsl.toRgb().rgb()); // 8 bits a channel, as painted
}

struct AccentState {
    QColor fill = darkenedTo(defaultAccent(), kFillLuminance);
    QColor ring = darkenedTo(defaultAccent(), kRingLuminance);
    struct Follower {
        QPointer<QObject> context;
        std::function<void()> apply;
    };
    std::vector<Follower> followers;
};

AccentState& state()
{
    static AccentState accent;
    return accent;
}

} // namespace

QColor defaultAccent()
{
    return QColor(0x00, 0x7A, 0xFF);
}

double relativeLuminance(const QColor& colour)
{
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QColor accent()
{
    return state().fill;
}

QColor focusRing()
{
    return state().ring;
}

void setAccent(const QColor& desktopAccent)
{
    const QColor chosen = desktopAccent.isValid() ? desktopAccent.toRgb() : defaultAccent();
    AccentState& accent = state();
    const QColor fill = darkenedTo(chosen, kFillLuminance);
    if (fill == accent.fill)
        return;
    accent.fill = fill;
    accent.ring = darkenedTo(chosen, kRingLuminance);
    if (qApp) {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Highlight, fill);
        QApplication::setPalette(palette);
    }
    std::erase_if(accent.followers, [](const auto& follower) { return !follower.context; });
    // A copy: a follower may add another.
    const auto followers = accent.followers;
    for (const auto& follower : followers)
        if (follower.context)
            follower.apply();
    if (qApp)
        for (QWidget* widget : QApplication::allWidgets())
            widget->update();
}

void followAccent(QObject* context, std::function<void()> apply)
{
    apply();
    state().followers.push_back({context, std::move(apply)});
}

namespace {

// A platform theme (qt6ct, KDE's, GNOME's) hands Qt a font for these classes of widget, and a
// class's font wins over the application's: without these, "Next" or an empty field's
// placeholder would show in the desktop's font and size beside this program's.
const QByteArrayList& themedClasses()
{
    static const QByteArrayList classes =
        QByteArray(
            "QAbstractButton QPushButton QToolButton QCheckBox QRadioButton QLabel QLineEdit "
            "QTextEdit QPlainTextEdit QAbstractScrollArea QAbstractItemView QListView QHeaderView "
            "QComboBox QComboMenuItem QComboLineEdit QMenu QMenuBar QMenuItem QMessageBox "
            "QTipLabel QStatusBar QGroupBox QTabBar QSmallFont QMiniFont")
            .split(' ');
    return classes;
}

QFont bodyFont()
{
    return systemFont(pixelSize(TextStyle::Body));
}

bool fontsInPlace()
{
    const QFont body = bodyFont();
    if (QApplication::font() != body)
        return false;
    for (const QByteArray& widgetClass : themedClasses())
        if (QApplication::font(widgetClass.constData()) != body)
            return false;
    return true;
}

void applyFonts()
{
    const QFont body = bodyFont();
    QApplication::setFont(body);
    for (const QByteArray& widgetClass : themedClasses())
        QApplication::setFont(body, widgetClass.constData());
}

class FontKeeper final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto type = event->type();
        if (watched == qApp &&
            (type == QEvent::ApplicationFontChange || type == QEvent::ThemeChange) &&
            !fontsInPlace())
            applyFonts();
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void keepFonts(QApplication& app)
{
    applyFonts();
    // A platform theme may set its own font once it has read its settings (qt6ct does, a
    // moment after start, and again when they change), which also drops the fonts per class:
    // the program's are put back.
    app.installEventFilter(new FontKeeper(&app));
}

void slimScrollBar(QAbstractScrollArea* area)
{
    area->verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { width: 8px; background: transparent; margin: 2px 2px 2px 0; }"
        "QScrollBar::handle:vertical { background: rgba(0, 0, 0, 0.25); border-radius: 3px;"
        " min-height: 24px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
}

} // namespace marten::theme
