// A private X display for the tests and the benchmark that must see the
// window as a desktop shows it: the offscreen platform paints nothing and
// asks the desktop for nothing (no icons, no fonts from the server), so
// some freezes never show there.
#pragma once

#include <sys/types.h>

#include <string>

namespace ftvb::ui::qt {

class XvfbServer {
public:
    XvfbServer() = default;
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;
    ~XvfbServer();

    // Starts Xvfb on a display number it finds free itself, and points
    // DISPLAY and QT_QPA_PLATFORM at it for a QApplication made afterwards.
    // Empty on success, else why not (Xvfb missing, or it did not start).
    std::string start();
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// Whether a program can be found on PATH.
bool onPath(const char* program);

}  // namespace ftvb::ui::qt
