#pragma once

#include "CompositionBox.h"
#include "Platform.h"

namespace mirthkey {

// A refusal: a critical box with the error caption, then the keyboard focus back in
// the composition box.
inline void refuse(CompositionBox &box, Platform &platform, QWidget *window, const QString &prompt)
{
    platform.messageBox(window, prompt, Icon::Critical, Buttons::Ok, QStringLiteral("错误提示"));
    box.setFocus();
}

} // namespace mirthkey
