#include "app/X11WindowType.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace marten {

namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

} // namespace

void markAsNormalX11Window(QWindow& window)
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection() || !window.handle())
        return;
    xcb_connection_t* connection = x11->connection();
    const xcb_atom_t type = internAtom(connection, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t normal = internAtom(connection, "_NET_WM_WINDOW_TYPE_NORMAL");
    if (type == XCB_ATOM_NONE || normal == XCB_ATOM_NONE)
        return;
    // Qt's own requests for the window went out on this same connection, so this one lands
    // after them and before the map request show() sends.
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), type, XCB_ATOM_ATOM, 32, 1,
                        &normal);
    xcb_flush(connection);
}

} // namespace marten
