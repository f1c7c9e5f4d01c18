#pragma once

class QWindow;

namespace marten {

// Marks a created, not yet mapped, top-level window as an ordinary application window on X11:
// _NET_WM_WINDOW_TYPE becomes _NET_WM_WINDOW_TYPE_NORMAL alone. Qt adds KDE's "override" type
// to every frameless window, and KWin places, stacks and switches between such windows apart
// from normal ones. Does nothing on other platforms (Wayland has no window types).
void markAsNormalX11Window(QWindow& window);

} // namespace marten
