// SPDX-License-Identifier: GPL-3.0-or-later
#include "Palette.h"

#include "CompositionBox.h"
#include "EmoticonTable.h"

#include <QImageReader>

namespace mirthkey {

namespace {
QString qstring(std::u16string_view s)
{
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}
} // namespace

void insertCode(CompositionBox &box, const QString &code)
{
    box.setFocus();
    box.replaceSelection(code);
}

QString codeOf(int number)
{
    return qstring(emoticon(number).code);
}

QString accessibleName(const Emoticon &emoticon)
{
    return qstring(emoticon.name) + u' ' + qstring(emoticon.code);
}

QString picturePath(int number, qreal devicePixelRatio)
{
    return QStringLiteral(":/emoticons/%1%2.png")
        .arg(number, 2, 10, QLatin1Char('0'))
        .arg(devicePixelRatio > 1.0 ? QStringLiteral("@2x") : QString());
}

std::vector<QImage> loadPictures(qreal devicePixelRatio)
{
    std::vector<QImage> pictures;
    pictures.reserve(kEmoticonCount);
    for (int n = 1; n <= kEmoticonCount; ++n) {
        QImageReader reader(picturePath(n, devicePixelRatio), "png");
        QImage picture = reader.read();
        if (devicePixelRatio > 1.0)
            picture.setDevicePixelRatio(2.0);
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

} // namespace mirthkey
