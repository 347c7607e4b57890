#include "app/CompositionBox.h"
#include "app/Platform.h"
#include "commands/Commands.h"

namespace mirthkey {

void clearCodes(CompositionBox &text1, Platform &platform, QWidget *window)
{
    const int answer =
        platform.messageBox(window, QStringLiteral("是否要清空已编辑好的表情代码？"),
                            Style::Exclamation + Style::YesNo, QStringLiteral("系统提示"));
    text1.SetFocus();
    if (answer == Answer::Yes)
        text1.SetText(QString());
}

} // namespace mirthkey
