// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <initializer_list>

namespace mirthkey {

// Starts a decoration's clock: named `name`, so that it can be found by it, it calls `step`
// every 200 ms from now on and is never stopped.
template <typename Label>
void startClock(QTimer &clock, const char *name, Label *label, void (Label::*step)())
{
    clock.setObjectName(QLatin1String(name));
    clock.setInterval(200);
    QObject::connect(&clock, &QTimer::timeout, label, step);
    clock.start();
}

// Starts running clocks again at one moment, before any of them has ticked: from then on
// they are due at the same instant and tick in the same turn of the event loop, so that
// the program wakes once for all of them and repaints what they changed in one go.
// Started one after another as their labels are made, the toolkit may round them to
// instants a few milliseconds apart, and they would wake the program twice per tick.
inline void startTogether(std::initializer_list<QTimer *> clocks)
{
    for (QTimer *clock : clocks)
        clock->start();
}

} // namespace mirthkey
