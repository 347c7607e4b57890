// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Platform.h"

#include <QList>
#include <QStringList>
#include <deque>

namespace mirthkey::test {

// A platform that records every request and answers from queues the test fills in.
// An empty answer queue answers a message box with its default button and cancels
// a Save As question.
class ScriptedPlatform final : public Platform {
public:
    struct MessageBoxCall {
        QString prompt;
        Icon icon;
        Buttons buttons;
        QString caption;
    };

    Answer messageBox(QWidget *parent, const QString &prompt, Icon icon, Buttons buttons,
                      const QString &caption) override;
    std::optional<QString> saveFileName(QWidget *parent, const QString &title,
                                        const QString &filter) override;
    void beep() override;
    void openUrl(const QUrl &target) override;
    void clearClipboard() override;
    void setClipboardText(const QString &text) override;
    QDate today() override;

    // Queued answers and facts.
    std::deque<Answer> answers;
    QStringList fileNames; // a null QString() cancels
    QDate date{2026, 12, 8};

    // What happened, in order: "messageBox", "saveFileName", "beep", "openUrl",
    // "clearClipboard", "setClipboardText".
    QStringList calls;
    QList<MessageBoxCall> messageBoxes;
    QStringList saveTitles;
    QStringList saveFilters;
    QList<QUrl> openedUrls;
    std::optional<QString> clipboard; // nothing: never touched; empty: cleared
};

} // namespace mirthkey::test
