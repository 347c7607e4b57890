// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Actions.h"
#include "CompositionBox.h"
#include "MainWindow.h"
#include "ScriptedPlatform.h"

#include <QObject>
#include <QPushButton>
#include <memory>

namespace mirthkey::test {

// Base of the tests that drive the whole window: a fresh scripted platform and window for
// each test function (open in init(), close in cleanup()), and the buttons by what they do.
class WindowTest : public QObject {
protected:
    // `shown`: shown and active, as the user sees it; false when it never became active.
    bool openWindow(bool shown = true);
    void closeWindow();

    CompositionBox &box() const { return form->composition(); }

    // Palette button `number` (1..96).
    QPushButton *emoticonButton(int number) const;
    QPushButton *button(Action role) const;
    QPushButton *copyButton() const { return button(Action::Copy); }
    QPushButton *clearButton() const { return button(Action::Clear); }
    QPushButton *saveButton() const { return button(Action::Save); }
    QPushButton *helpButton() const { return button(Action::Help); }

    // With the mouse, so the button takes the focus as it does on screen.
    void click(Action role) const;
    void clickSave() const { click(Action::Save); }
    void clickEmoticon(int number) const;

    std::unique_ptr<ScriptedPlatform> platform;
    std::unique_ptr<MainWindow> form;
};

} // namespace mirthkey::test
