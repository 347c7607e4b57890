// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>

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

} // namespace mirthkey
