// SPDX-License-Identifier: GPL-3.0-or-later
#include "CFileVersion.h"

#include "VersionReader.h"

bool CFileVersion::FillVersionInfo(const std::string &path)
{
    using namespace mirthkey::version;
    const auto file = OpenFileSource(path);
    if (!file)
        return false;
    const auto version = ReadFileVersion(*file);
    if (!version)
        return false;
    m_major = WordHalf(version->mostSignificant, 1);
    m_minor = WordHalf(version->mostSignificant, 0);
    m_revision = WordHalf(version->leastSignificant, 1);
    m_build = WordHalf(version->leastSignificant, 0);
    return true;
}

std::string CFileVersion::VersionString() const
{
    return std::to_string(m_major) + '.' + std::to_string(m_minor) + '.' +
           std::to_string(m_revision) + '.' + std::to_string(m_build);
}

int CFileVersion::WordHalf(std::uint32_t value, int selector)
{
    // Unsigned halves: 0..65535, never negative.
    return static_cast<int>(selector == 1 ? (value >> 16) & 0xffff : value & 0xffff);
}
