#include "EventLoopWait.h"

#include <QEventLoop>
#include <QTimer>

namespace zk {

void pumpEventsFor(int milliseconds)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    // Block timing decides when a reply is looked at; a coarse timer would
    // stretch every step by up to 5%.
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(milliseconds);
    loop.exec();
}

} // namespace zk
