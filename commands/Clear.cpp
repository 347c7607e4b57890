#include "Commands.h"
#include "CompositionBox.h"
#include "Platform.h"

namespace mirthkey {

void clearCodes(CompositionBox &box, Platform &platform, QWidget *window)
{
    const Answer answer =
        platform.messageBox(window, QStringLiteral("是否要清空已编辑好的表情代码？"),
                            Icon::Exclamation, Buttons::YesNo, QStringLiteral("系统提示"));
    box.setFocus();
    if (answer == Answer::Yes)
        box.setText(QString());
}

} // namespace mirthkey
