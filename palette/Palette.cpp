#include "palette/Palette.h"

#include "app/CompositionBox.h"
#include "palette/EmoticonTable.h"

namespace mirthkey
{

namespace
{
QString qstring(std::u16string_view s)
{
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}
} // namespace

void insertEmoticon(CompositionBox &box, int number)
{
    const Emoticon &entry = emoticon(number);
    box.SetFocus();
    box.SetSelText(qstring(entry.code));
}

QString accessibleName(const Emoticon &emoticon)
{
    return qstring(emoticon.name) + u' ' + qstring(emoticon.code);
}

QString picturePath(int number)
{
    return QStringLiteral(":/emoticons/%1.png").arg(number, 2, 10, QLatin1Char('0'));
}

} // namespace mirthkey
