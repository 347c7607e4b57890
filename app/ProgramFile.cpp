#include "ProgramFile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace mirthkey {

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString executableName()
{
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
#ifdef Q_OS_WIN
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        name.chop(4);
#endif
    return name;
}

QString ownExecutablePath(const QString &folder, const QString &name)
{
#ifdef Q_OS_WIN
    return folder + u'\\' + name + QLatin1String(".exe");
#else
    return folder + u'/' + name;
#endif
}

} // namespace mirthkey
