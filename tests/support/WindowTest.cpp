// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTest.h"

#include <QtTest>

namespace mirthkey::test {

bool WindowTest::openWindow(bool shown)
{
    form.reset();
    platform = std::make_unique<ScriptedPlatform>();
    form = std::make_unique<MainWindow>(*platform);
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

QPushButton *WindowTest::emoticonButton(int number) const
{
    return form->findChild<QPushButton *>(QStringLiteral("Command%1").arg(number));
}

QPushButton *WindowTest::button(Action role) const
{
    return form->findChild<QPushButton *>(QLatin1String(actionButton(role).name));
}

void WindowTest::click(Action role) const
{
    QTest::mouseClick(button(role), Qt::LeftButton);
}

void WindowTest::clickEmoticon(int number) const
{
    QTest::mouseClick(emoticonButton(number), Qt::LeftButton);
}

} // namespace mirthkey::test
