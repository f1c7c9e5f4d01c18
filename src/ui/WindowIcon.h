#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QStringList>
#include <QWidget>

namespace marten::windowicon {

// The icon built into the programs, as PNGs at 16, 32, 64 and 128 px: no icon theme read and
// no SVG engine loaded.
QIcon bundled();

// The files of icon `name` in icon theme `theme`, else in hicolor (the theme every other one
// falls back to), under the first of `searchPaths` (icon folders such as
// /usr/share/icons) that has any: PNG and SVG files in the theme's size and context folders
// (48x48/apps/NAME.png, scalable/apps/NAME.svg, apps/48/NAME.svg). Empty when neither has it.
QStringList themeFiles(const QStringList& searchPaths, const QString& theme, const QString& name);

// Decodes `files` for a window icon: each PNG as it is, each SVG drawn at 16, 32, 64 and
// 128 px. Files that are unreadable, not regular files or oversized are skipped. Safe to run
// off the GUI thread.
QList<QImage> decode(const QStringList& files);

// Once `widget` has been painted (a window covered by its children gets no paint of its own),
// gives its window the built-in icon, then looks icon `name` up in the desktop's icon theme on a
// worker thread and, where the theme has it, makes that the icon of the widget's window.
void adoptFromThemeAfterFirstPaint(QWidget* widget, const QString& name);

} // namespace marten::windowicon
