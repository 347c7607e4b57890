// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace mirthkey {

// "宋体" 9 pt, the program's one font, drawn by a font with the same metrics. Call it
// once the application object exists and before any widget is made.
void installProgramFont();

} // namespace mirthkey
