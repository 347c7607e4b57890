// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ErrorText.h"
#include "Gb18030.h"
#include "TextPieces.h"

#include <QByteArray>
#include <QString>

namespace mirthkey {

// Code units encoded at a time: the encoded file never has to be in memory whole.
inline constexpr qsizetype kEncodedPiece = qsizetype(1) << 16;

// Calls `sink` with the text in GB18030, piece by piece, then with the final CR LF; stops
// at the first piece the sink fails on and returns its Status then.
template <typename Sink> Status encodePieces(const QString &text, Sink &&sink)
{
    Status status;
    forEachPiece(text, kEncodedPiece, [&](QStringView piece) {
        status = sink(toGb18030(piece));
        return status.ok();
    });
    return status.ok() ? sink(QByteArrayLiteral("\r\n")) : status;
}

// The whole text in GB18030 with the final CR LF, for a writer that needs its size first.
inline QByteArray encodeWhole(const QString &text)
{
    QByteArray bytes = toGb18030(text);
    bytes += "\r\n";
    return bytes;
}

} // namespace mirthkey
