#pragma once

#include "app/CompositionBox.h"
#include "app/Platform.h"

namespace mirthkey {

// A refusal: a critical box with the error caption, then the keyboard focus back in
// the composition box.
inline void refuse(CompositionBox &text1, Platform &platform, QWidget *window,
                   const QString &prompt)
{
    platform.messageBox(window, prompt, Style::Critical, QStringLiteral("错误提示"));
    text1.SetFocus();
}

} // namespace mirthkey
