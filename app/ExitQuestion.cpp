// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExitQuestion.h"

#include "Platform.h"

namespace mirthkey {

bool confirmExit(Platform &platform, QWidget *window, const QString &executableName)
{
    platform.beep();
    const QString prompt =
        QStringLiteral("是否要退出正在运行的\r\n   ") + executableName + QStringLiteral("？");
    return platform.messageBox(window, prompt, Icon::Question, Buttons::YesNo,
                               QStringLiteral("系统询问")) != Answer::No;
}

} // namespace mirthkey
