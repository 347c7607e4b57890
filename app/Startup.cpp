#include "Startup.h"

#include "CFileVersion.h"
#include "ForeColor.h"
#include "Platform.h"
#include "ProgramFile.h"
#include "Typewriter.h"

#include <QLabel>

namespace mirthkey {

void startUp(QWidget &form2, QLabel &label1, QLabel &label3, int &typedCount, Platform &platform,
             const QString &folder, const QString &executableName)
{
    CFileVersion version;
    const QString path = ownExecutablePath(folder, executableName);
    if (version.FillVersionInfo(path.toStdString())) {
        const int year = platform.today().year();
        form2.setWindowTitle(QStringLiteral("Mirthkey%1  V%2.%3.%4 Build %5")
                                 .arg(year)
                                 .arg(version.Major())
                                 .arg(version.Minor())
                                 .arg(version.Revision())
                                 .arg(version.Build()));
    }
    typewriterStep(label1, typedCount);
    setForeColor(label3, kRedValue);
    QFont bold = label3.font();
    bold.setBold(true);
    label3.setFont(bold);
}

} // namespace mirthkey
