// SPDX-License-Identifier: GPL-3.0-or-later
// Elsewhere the platform draws text its own way, with FreeType on Linux.
#include "ProgramFont.h"

namespace mirthkey {

void chooseTextRendering() {}

} // namespace mirthkey
