// SPDX-License-Identifier: GPL-3.0-or-later
// Text on Windows: drawn through FreeType, as on Linux, unless a platform was named.
#include "ProgramFont.h"

#include <QByteArray>

namespace mirthkey {

void chooseTextRendering()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
}

} // namespace mirthkey
