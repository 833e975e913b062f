#include "platform/event_wait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace zr730 {

bool wait_until(int ms, const std::function<bool()> &done, UserInput input)
{
    QDeadlineTimer deadline(qMax(0, ms), Qt::PreciseTimer);
    if (!QCoreApplication::instance()) {
        // No event loop to sleep in: plain sleeps in short steps.
        while (!done() && !deadline.hasExpired()) QThread::msleep(1);
        return done();
    }
    const QEventLoop::ProcessEventsFlags flags
        = input == UserInput::Deferred ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents;
    QCoreApplication::processEvents(flags);
    // The wake-up timer ends the sleep at the deadline; data and window events end it earlier.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (!done()) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0) return done();
        wake.start(int(left));
        QCoreApplication::processEvents(flags | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace zr730
