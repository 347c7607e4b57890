// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>
#include <algorithm>

namespace mirthkey {

// Hands `text` to `piece` in order, cut into pieces of `size` UTF-16 units; a piece that
// would end between the two halves of a surrogate pair takes the second half too, so
// every piece can be converted on its own. Stops at the first piece for which `piece`
// returns false and returns false then.
template <typename Piece> bool forEachPiece(QStringView text, qsizetype size, Piece &&piece)
{
    for (qsizetype pos = 0; pos < text.size();) {
        qsizetype end = std::min(pos + size, text.size());
        if (end < text.size() && text[end - 1].isHighSurrogate())
            ++end;
        if (!piece(text.sliced(pos, end - pos)))
            return false;
        pos = end;
    }
    return true;
}

} // namespace mirthkey
