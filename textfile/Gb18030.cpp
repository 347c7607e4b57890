// SPDX-License-Identifier: GPL-3.0-or-later
#include "Gb18030.h"

#include "Gb18030Table.h"

#include <QString>

namespace mirthkey {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isLoneSurrogate(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 == text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text[i - 1].isHighSurrogate();
    return false;
}

// `text` with every lone surrogate replaced, or a null string when it has none.
QString withoutLoneSurrogates(QStringView text)
{
    qsizetype first = 0;
    while (first < text.size() && !isLoneSurrogate(text, first))
        ++first;
    if (first == text.size())
        return QString();
    QString out = text.toString();
    for (qsizetype i = first; i < out.size(); ++i) {
        if (isLoneSurrogate(text, i))
            out[i] = QChar(kReplacement);
    }
    return out;
}
} // namespace

QByteArray toGb18030(QStringView text)
{
    QByteArray out;
    if (text.isEmpty())
        return out;
    const QString repaired = withoutLoneSurrogates(text);
    // The program's own table on every system, so every system writes the same bytes.
    gb18030::encodeWithTable(repaired.isNull() ? text : QStringView(repaired), out);
    return out;
}

} // namespace mirthkey
