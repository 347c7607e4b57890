// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnimationDriver.h"

namespace mirthkey {

// The toolkit's own driver: a precise timer that runs only while an animation does.
void installAnimationDriver(QCoreApplication &) {}

} // namespace mirthkey
