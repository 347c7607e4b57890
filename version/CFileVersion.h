// SPDX-License-Identifier: GPL-3.0-or-later
// The version of an executable file, read from its version record: the VS_VERSIONINFO resource
// of a PE image (.exe/.dll) or, for our own ELF builds, the same record in the
// .mirthkey_version section.
//
// The four numbers are read as unsigned 16-bit values (0..65535): a version component is an
// unsigned word, and reading it as signed would show a component of 40000 as negative.
#pragma once

#include <string>

// The names of the public face (the class, FillVersionInfo, Major ... Build) are the ones its
// callers have always used, so they stay outside the house's camelCase.
// NOLINTBEGIN(readability-identifier-naming)
class CFileVersion {
public:
    // Reads the version of the file at path, given in the platform's file-name encoding (bytes
    // on Linux, UTF-8 on Windows). Returns false when the file is missing, is
    // not a regular file (hidden and system files count as missing on Windows), or has no
    // readable version record; the numbers then keep their earlier values. On success all four
    // numbers change together.
    bool FillVersionInfo(const std::string &path);

    int Major() const { return m_major; }
    int Minor() const { return m_minor; }
    int Revision() const { return m_revision; }
    int Build() const { return m_build; }
    // NOLINTEND(readability-identifier-naming)
    // "Major.Minor.Revision.Build", e.g. "1.2.0.65"; "0.0.0.0" until a fill succeeds.
    std::string versionString() const;

private:
    int m_major = 0;
    int m_minor = 0;
    int m_revision = 0;
    int m_build = 0;
};
