// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace mirthkey {

// "宋体" 9 pt, the program's one font, drawn by a font with the same metrics. Call it
// once the application object exists and before any widget is made.
void installProgramFont();

// Chooses how text is drawn; call it before the application object exists. On Windows the
// font goes through FreeType, as on Linux: small Latin letters hinted and the font's own
// 12 px bitmaps used, so both builds draw the same pixels and 12 px lines. The system's
// own engine reads the font's request for unhinted outlines at this size and drops
// pixel rows from letters such as "o". A platform chosen in QT_QPA_PLATFORM is kept.
void chooseTextRendering();

} // namespace mirthkey
