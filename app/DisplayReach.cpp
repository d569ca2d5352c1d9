// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayReach.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QStringList>

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

// Whether one of the platforms `platform` names (Qt's "name:options",
// alternatives separated by ';') has a plugin: Qt aborts on a name it has
// none for. The plugins' metadata is read without loading them.
bool PlatformPluginExists(const std::string& platform) {
    QStringList folders;
    const std::string own = Environment("QT_QPA_PLATFORM_PLUGIN_PATH");
    if (!own.empty())
        folders << QString::fromLocal8Bit(own);
    for (const QString& folder : QCoreApplication::libraryPaths())
        folders << folder + QStringLiteral("/platforms");
    QStringList names;
    for (const QString& name : QString::fromLocal8Bit(platform).split(u';', Qt::SkipEmptyParts))
        names << name.section(u':', 0, 0).trimmed();
    for (const QString& folder : folders) {
        for (const QString& file : QDir(folder).entryList(QDir::Files)) {
            const QJsonArray keys = QPluginLoader(folder + u'/' + file)
                                        .metaData()
                                        .value(QStringLiteral("MetaData"))
                                        .toObject()
                                        .value(QStringLiteral("Keys"))
                                        .toArray();
            for (const auto& key : keys)
                for (const QString& name : names)
                    if (key.toString().compare(name, Qt::CaseInsensitive) == 0)
                        return true;
        }
    }
    return false;
}

} // namespace

DisplayReach CheckDisplay() {
    const std::string platform = Environment("QT_QPA_PLATFORM");
    const bool wantsX = std::string_view(platform).starts_with("xcb");
    const bool wantsWayland = std::string_view(platform).starts_with("wayland");
    if (!platform.empty() && !wantsX && !wantsWayland) {
        if (PlatformPluginExists(platform))
            return {true, {}, {}};
        return {false, "QT_QPA_PLATFORM " + platform + " names no display platform", {}};
    }

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
