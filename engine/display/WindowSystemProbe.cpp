#include "WindowSystemProbe.h"

#if defined(__unix__) && !defined(__APPLE__) && !defined(__ANDROID__)
#define BW_PROBE_X11 1
#include <dlfcn.h>

#include <cstdlib>
#endif

namespace bw {

#ifdef BW_PROBE_X11

WindowSystemProbe::WindowSystemProbe() {
    const char* display_name = std::getenv("DISPLAY");
    if (display_name == nullptr || *display_name == '\0') return;
    // Xlib is loaded by SFML anyway; it is looked up at run time so the engine needs no X11
    // headers or link flags of its own.
    library = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (library == nullptr) return;
    using OpenDisplay = void* (*)(const char*);
    using CloseDisplay = int (*)(void*);
    const auto open_display = reinterpret_cast<OpenDisplay>(dlsym(library, "XOpenDisplay"));
    close_connection = reinterpret_cast<CloseDisplay>(dlsym(library, "XCloseDisplay"));
    if (open_display != nullptr && close_connection != nullptr) connection = open_display(nullptr);
}

WindowSystemProbe::~WindowSystemProbe() {
    if (connection != nullptr) close_connection(connection);
    if (library != nullptr) dlclose(library);
}

bool WindowSystemProbe::reachable() const { return connection != nullptr; }

#else

WindowSystemProbe::WindowSystemProbe() {
    // Nothing is held open on these systems; the fields only serve the X11 probe.
    static_cast<void>(library);
    static_cast<void>(connection);
    static_cast<void>(close_connection);
}
WindowSystemProbe::~WindowSystemProbe() = default;
bool WindowSystemProbe::reachable() const { return true; }

#endif

} // namespace bw
