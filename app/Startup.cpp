// SPDX-License-Identifier: GPL-3.0-or-later
#include "Startup.h"

#include "BlinkingLabel.h"
#include "CFileVersion.h"
#include "Clock.h"
#include "Platform.h"
#include "ProgramFile.h"
#include "TypewriterLabel.h"

namespace mirthkey {

void startUp(QWidget &window, TypewriterLabel &typewriter, BlinkingLabel &author,
             Platform &platform, const NativePath &folder, const NativePath &executableName)
{
    CFileVersion version;
    const NativePath path = ownExecutablePath(folder, executableName);
    if (version.FillVersionInfo(path.toStdString())) {
        const int year = platform.today().year();
        window.setWindowTitle(QStringLiteral("Mirthkey%1  V%2.%3.%4 Build %5")
                                  .arg(year)
                                  .arg(version.Major())
                                  .arg(version.Minor())
                                  .arg(version.Revision())
                                  .arg(version.Build()));
    }
    typewriter.step();
    author.setRedAndBold();
    startTogether({&typewriter.clock(), &author.clock()});
}

} // namespace mirthkey
