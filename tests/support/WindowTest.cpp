// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTest.h"

#include <QtTest>

namespace mirthkey::test {

bool WindowTest::openWindow(bool shown)
{
    form.reset();
    platform = std::make_unique<ScriptedPlatform>();
    form = std::make_unique<Form2>(*platform);
    if (!shown)
        return true;
    form->show();
    return QTest::qWaitForWindowActive(form.get());
}

void WindowTest::closeWindow()
{
    form.reset();
    platform.reset();
}

QPushButton *WindowTest::button(int number) const
{
    return form->findChild<QPushButton *>(QStringLiteral("Command%1").arg(number));
}

void WindowTest::click(int number) const
{
    QTest::mouseClick(button(number), Qt::LeftButton);
}

} // namespace mirthkey::test
