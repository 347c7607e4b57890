#include "app/CompositionBox.h"
#include "app/Platform.h"
#include "commands/Commands.h"
#include "commands/Refusal.h"
#include "commands/TextFile.h"

#include <QDir>
#include <optional>

namespace mirthkey {

void saveCodes(CompositionBox &text1, Platform &platform, QWidget *window)
{
    if (text1.TextLength() == 0) {
        refuse(text1, platform, window, QStringLiteral("只有生成表情代码后才能保存！"));
        return;
    }

    // The dialog asks before an existing file is replaced, starts with an empty name
    // and adds no extension to a name typed without one.
    const std::optional<QString> path = platform.saveFileName(
        window, QStringLiteral("文件另存为"), QStringLiteral("文本文件(*.txt)|*.txt|"));
    if (!path)
        return;

    const std::optional<QString> failure = writeTextFile(*path, text1.Text());
    if (!failure)
        return;
    refuse(text1, platform, window,
           QStringLiteral("文件保存失败！\r\n") + QDir::toNativeSeparators(*path) +
               QStringLiteral("\r\n") + *failure);
}

} // namespace mirthkey
