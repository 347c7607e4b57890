// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnimationDriver.h"

#include <QAbstractAnimation>
#include <QBasicTimer>
#include <QCoreApplication>
#include <QTimerEvent>

namespace mirthkey {

namespace {

// Drives the style's animations (the pulsing default button of a message box, the fades of
// hovered buttons) from an ordinary window timer. Qt's own driver ticks every 16 ms with a
// precise timer, which on Windows is a multimedia timer served by a thread of winmm. That
// timer is killed only as the application object goes, and the thread then ends while the
// process is ending too: under Wine a process that ends during that thread's own end can
// find its heap broken and fault inside the heap code on the way out. A window timer is
// served by the program's own thread. It runs only while an animation does: the toolkit
// starts the driver for the first animation and stops it after the last.
class WindowTimerAnimationDriver final : public QAnimationDriver {
public:
    explicit WindowTimerAnimationDriver(QObject *parent) : QAnimationDriver(parent)
    {
        connect(this, &QAnimationDriver::started, this,
                [this] { m_timer.start(kTickMilliseconds, Qt::CoarseTimer, this); });
        connect(this, &QAnimationDriver::stopped, this, [this] { m_timer.stop(); });
    }

protected:
    void timerEvent(QTimerEvent *event) override
    {
        if (event->timerId() == m_timer.timerId())
            advance();
    }

private:
    // Qt serves coarse timers of up to 20 ms with the multimedia timer as well.
    static constexpr int kTickMilliseconds = 21;
    QBasicTimer m_timer;
};

} // namespace

void installAnimationDriver(QCoreApplication &app)
{
    (new WindowTimerAnimationDriver(&app))->install();
}

} // namespace mirthkey
