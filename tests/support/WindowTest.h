// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CompositionBox.h"
#include "Form2.h"
#include "ScriptedPlatform.h"

#include <QObject>
#include <QPushButton>
#include <memory>

namespace mirthkey::test {

// Base of the tests that drive the whole window: a fresh scripted platform and window for
// each test function (open in init(), close in cleanup()), and the controls by number.
class WindowTest : public QObject {
protected:
    // `shown`: shown and active, as the user sees it; false when it never became active.
    bool openWindow(bool shown = true);
    void closeWindow();

    CompositionBox &box() const { return form->composition(); }
    // Command<number>: 1..96 the palette, 97..102 the action buttons.
    QPushButton *button(int number) const;
    // With the mouse, so the button takes the focus as it does on screen.
    void click(int number) const;

    std::unique_ptr<ScriptedPlatform> platform;
    std::unique_ptr<Form2> form;
};

} // namespace mirthkey::test
