// SPDX-License-Identifier: GPL-3.0-or-later
#include "CFileVersion.h"

#include "VersionReader.h"

// NOLINTBEGIN(readability-identifier-naming): the public face keeps the names callers know
// it by (CFileVersion, FillVersionInfo, Major ... Build); inside, the house style.
bool CFileVersion::FillVersionInfo(const std::string &path)
{
    const auto version = mirthkey::version::readVersion(path);
    if (!version)
        return false;
    m_major = version->major;
    m_minor = version->minor;
    m_revision = version->revision;
    m_build = version->build;
    return true;
}
// NOLINTEND(readability-identifier-naming)

std::string CFileVersion::versionString() const
{
    return std::to_string(m_major) + '.' + std::to_string(m_minor) + '.' +
           std::to_string(m_revision) + '.' + std::to_string(m_build);
}
