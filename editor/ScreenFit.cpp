#include "ScreenFit.h"

namespace zk {

WindowFit fitWindow(QSize design, QSize frame, QSize available)
{
    const QSize room = (available - frame).expandedTo(QSize(0, 0));
    if (design.width() <= room.width() && design.height() <= room.height())
        return {true, design, design};
    const QSize size = design.boundedTo(room);
    // Small enough for any screen; the contents scroll below it.
    return {false, size, size.boundedTo(QSize(320, 240))};
}

} // namespace zk
