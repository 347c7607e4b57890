// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Gb18030.h"
#include "TextPieces.h"

#include <QByteArray>
#include <QString>

namespace mirthkey {

// Code units encoded at a time: the encoded file never has to be in memory whole.
inline constexpr qsizetype kEncodedPiece = qsizetype(1) << 16;

// Calls `sink` with the text in GB18030, piece by piece, then with the final CR LF; stops
// at the first piece the sink refuses and returns false then.
template <typename Sink> bool encodePieces(const QString &text, Sink &&sink)
{
    return forEachPiece(text, kEncodedPiece,
                        [&](QStringView piece) { return sink(toGb18030(piece)); }) &&
           sink(QByteArrayLiteral("\r\n"));
}

// The whole text in GB18030 with the final CR LF, for a writer that needs its size first.
inline QByteArray encodeWhole(const QString &text)
{
    QByteArray bytes = toGb18030(text);
    bytes += "\r\n";
    return bytes;
}

} // namespace mirthkey
