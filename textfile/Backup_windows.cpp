// SPDX-License-Identifier: GPL-3.0-or-later
#include "Backup_windows.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace mirthkey::windows {

bool Backup::make(HANDLE file, const QString &target)
{
    const QFileInfo info(target);
    const QString local = qEnvironmentVariable("LOCALAPPDATA");
    QStringList folders{info.absolutePath()};
    if (!local.isEmpty() && QDir(local).mkpath(QStringLiteral("mirthkey")))
        folders << local + QStringLiteral("/mirthkey");
    folders << QDir::tempPath();
    DWORD error = ERROR_SUCCESS;
    for (const QString &folder : std::as_const(folders)) {
        for (int number = 1; number <= 100; ++number) {
            m_path = folder + u'/' + info.fileName() + QStringLiteral(".mirthkey-backup");
            if (number > 1)
                m_path += u'-' + QString::number(number);
            m_copy = createNew(m_path);
            if (m_copy.valid()) {
                if (copyContent(file, m_copy.get()))
                    return true;
                error = GetLastError();
                remove();
                break;
            }
            error = GetLastError();
            if (error != ERROR_FILE_EXISTS)
                break;
        }
    }
    m_path.clear();
    SetLastError(error);
    return false;
}

void Backup::remove()
{
    m_copy.close();
    if (!m_path.isEmpty())
        DeleteFileW(native(m_path).c_str());
    m_path.clear();
}

} // namespace mirthkey::windows
