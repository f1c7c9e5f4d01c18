#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

#include <functional>

class QAbstractScrollArea;
class QApplication;
class QLabel;
class QObject;
class QWidget;

// The whole look of the onboarding: colours, text styles, fonts, symbols and cards.
namespace marten::theme {

// --- Colours -------------------------------------------------------------------------------
// The accent colour for fills, text and symbols: the desktop's (setAccent), #007AFF until one
// is known, darkened where needed so that white text on it keeps a contrast of 4.5:1.
QColor accent();
QColor defaultAccent(); // #007AFF
// A deeper shade of the accent for the keyboard focus ring: it reads on white and on the fill.
QColor focusRing();
// Takes the desktop's accent colour (invalid: none, back to the default) and repaints every
// widget; what keeps the accent in a form of its own follows it with followAccent().
void setAccent(const QColor& desktopAccent);
// Runs `apply` now and after every change of the accent while `context` lives. Main thread.
void followAccent(QObject* context, std::function<void()> apply);
// WCAG relative luminance and the contrast ratio of two colours (1 to 21).
double relativeLuminance(const QColor& colour);
double contrast(const QColor& a, const QColor& b);
QColor black();
QColor white();
QColor secondaryLabel(); // muted text
QColor gray();           // neutral gray for outlines and placeholders
QColor green();
QColor orange();
QColor red();
QColor yellow();
QColor withOpacity(QColor colour, qreal opacity);

// --- Text styles (sizes in pixels) ----------------------------------------------------------
enum class TextStyle { LargeTitle, Title, Title2, Title3, Headline, Body, Callout, Caption };
int pixelSize(TextStyle style);
QFont font(TextStyle style, QFont::Weight weight = QFont::Normal);
QFont systemFont(int pixelSize, QFont::Weight weight = QFont::Normal);

// Installs the application font (Inter with Noto Color Emoji as fallback) and palette.
void apply(QApplication& app);
// Sets the program's font for the application and for every class of widget a platform theme
// gives a font of its own, now and whenever the theme sets its fonts again (part of apply).
void keepFonts(QApplication& app);

// --- Metrics ---------------------------------------------------------------------------------
inline constexpr int defaultPadding = 16; // around a card's or a screen's content
inline constexpr int cardRadius = 8;
inline constexpr int screenSpacing = 24;  // between the parts of a step's screen
inline constexpr int heroSymbolSize = 80; // the large symbol at the top of a screen
inline constexpr int stepFadeMs = 180;    // the fade from one step to the next

// --- Symbols --------------------------------------------------------------------------------
// `name` is one of the program's symbol names ("mic.fill", "lock.shield", ...; the table is in
// Theme.cpp). Returns a pixmap of the symbol, `pixelHeight` tall, tinted with `colour`, for
// the given device pixel ratio.
QPixmap symbol(const QString& name, int pixelHeight, const QColor& colour, qreal dpr = 1.0);

// A text label in a style; `colour` invalid means the inherited window text colour.
QLabel* textLabel(const QString& text, TextStyle style, QWidget* parent,
                  QFont::Weight weight = QFont::Normal, const QColor& colour = {});

// Gives a scrolled part a thin, quiet vertical scroll bar of its own, the same under every
// style: a rounded grey handle and no arrows.
void slimScrollBar(QAbstractScrollArea* area);

// A symbol followed by a title on one row (an IconLabel).
QWidget* iconLabel(const QString& symbolName, const QString& text, TextStyle style,
                   const QColor& colour, QWidget* parent);

} // namespace marten::theme
