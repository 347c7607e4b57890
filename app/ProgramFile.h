// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <string>

namespace mirthkey {

// A file name in the platform's own form, kept as it is until it is shown: on Linux the
// bytes of the name (a folder's name need not be UTF-8), on Windows its UTF-16 text.
class NativePath {
public:
    NativePath() = default;
    // The name as a user writes it, in the platform's form.
    NativePath(const QString &name); // NOLINT(google-explicit-constructor): names convert
    // On Linux the name's bytes as they are, whatever their encoding.
    static NativePath fromBytes(const QByteArray &bytes);

    // The name as the user reads it.
    QString display() const;
    // The name as the version reader opens it.
    std::string toStdString() const;

    bool operator==(const NativePath &other) const = default;

private:
    friend struct NativePathAccess; // the platform's half of ProgramFile
    QByteArray m_native;            // the name's bytes, or its UTF-16 code units
};

// Both are read once, when first asked (at start-up): a package upgrade that replaces
// the program's file while the program runs changes nothing that it shows.

// The folder that holds the running program's file.
NativePath programFolder();

// The name the running program was started under, without its folder; on Windows also
// without its extension.
NativePath executableName();

// The program's own file found again from its folder and name: on Linux folder, "/" and
// name; on Windows folder, "\", name and ".exe".
NativePath ownExecutablePath(const NativePath &folder, const NativePath &name);

} // namespace mirthkey
