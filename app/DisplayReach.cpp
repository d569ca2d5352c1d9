// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayReach.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool XAnswers() {
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    const bool answers = connection && xcb_connection_has_error(connection) == 0;
    if (connection)
        xcb_disconnect(connection);
    return answers;
}

// The compositor's socket: an absolute name, or one in XDG_RUNTIME_DIR.
bool WaylandAnswers(const std::string& display) {
    std::string path = display;
    if (path.front() != '/') {
        const std::string runtime = Environment("XDG_RUNTIME_DIR");
        if (runtime.empty())
            return false;
        path = runtime + "/" + display;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool answers =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return answers;
}

} // namespace

DisplayReach CheckDisplay() {
    const std::string platform = Environment("QT_QPA_PLATFORM");
    const bool wantsX = std::string_view(platform).starts_with("xcb");
    const bool wantsWayland = std::string_view(platform).starts_with("wayland");
    if (!platform.empty() && !wantsX && !wantsWayland)
        return {true, {}, {}};

    const std::string x = Environment("DISPLAY");
    const std::string wayland = Environment("WAYLAND_DISPLAY");
    if (x.empty() && wayland.empty())
        return {false, "DISPLAY and WAYLAND_DISPLAY are not set", {}};
    const bool xAnswers = !x.empty() && !wantsWayland && XAnswers();
    const bool waylandAnswers = !wayland.empty() && !wantsX && WaylandAnswers(wayland);
    if (xAnswers && waylandAnswers)
        return {true, {}, {}};
    if (xAnswers)
        return {true, {}, platform.empty() ? "xcb" : ""};
    if (waylandAnswers)
        return {true, {}, platform.empty() ? "wayland" : ""};
    std::string why;
    if (!x.empty() && !wantsWayland)
        why = "DISPLAY " + x;
    if (!wayland.empty() && !wantsX)
        why += (why.empty() ? "WAYLAND_DISPLAY " : " and WAYLAND_DISPLAY ") + wayland;
    if (why.empty())
        return {false, "QT_QPA_PLATFORM " + platform + " has no display set", {}};
    return {false, why + " does not answer", {}};
}
