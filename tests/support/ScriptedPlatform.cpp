// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedPlatform.h"

namespace mirthkey::test {

Answer ScriptedPlatform::messageBox(QWidget *, const QString &prompt, Icon icon, Buttons buttons,
                                    const QString &caption)
{
    calls << QStringLiteral("messageBox");
    messageBoxes.append({prompt, icon, buttons, caption});
    if (answers.empty())
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPlatform::saveFileName(QWidget *, const QString &title,
                                                      const QString &filter)
{
    calls << QStringLiteral("saveFileName");
    saveTitles << title;
    saveFilters << filter;
    if (fileNames.isEmpty())
        return std::nullopt;
    const QString name = fileNames.takeFirst();
    if (name.isNull())
        return std::nullopt;
    return name;
}

void ScriptedPlatform::beep()
{
    calls << QStringLiteral("beep");
}

void ScriptedPlatform::openUrl(const QUrl &target)
{
    calls << QStringLiteral("openUrl");
    openedUrls << target;
}

void ScriptedPlatform::clearClipboard()
{
    calls << QStringLiteral("clearClipboard");
    clipboard = QString();
}

void ScriptedPlatform::setClipboardText(const QString &text)
{
    calls << QStringLiteral("setClipboardText");
    clipboard = text;
}

QDate ScriptedPlatform::today()
{
    return date;
}

} // namespace mirthkey::test
