#pragma once
// How big the main window is on a given screen: its design size when that
// fits the screen's free area, otherwise as big as the area allows,
// resizable, with scrolling contents so every control stays reachable.
#include <QSize>

namespace zk {

inline constexpr QSize kDesignWindowSize(889, 770);
// Borders and title bar of a usual desktop window.
inline constexpr QSize kUsualFrame(16, 40);

struct WindowFit {
    bool fixed = true; // the design size, not resizable
    QSize size;        // client size to give the window
    QSize minimum;     // when resizable
};

// frame: what the window manager adds around the client area; available:
// the screen's area free of panels, in the same (logical) pixels.
WindowFit fitWindow(QSize design, QSize frame, QSize available);

} // namespace zk
