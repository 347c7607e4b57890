// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProgramFile.h"

class QWidget;

namespace mirthkey {

class BlinkingLabel;
class Platform;
class TypewriterLabel;

// Runs once before the window is first shown: the caption from the program's own
// version ("Mirthkey2026  V1.2.0 Build 65"; left empty when the version cannot be read),
// the first typewriter step, the author label red and bold, and the two decorations'
// clocks set to tick together.
void startUp(QWidget &window, TypewriterLabel &typewriter, BlinkingLabel &author,
             Platform &platform, const NativePath &folder, const NativePath &executableName);

} // namespace mirthkey
