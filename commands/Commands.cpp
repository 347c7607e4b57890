// SPDX-License-Identifier: GPL-3.0-or-later
#include "Commands.h"

#include "CompositionBox.h"
#include "HistoryText.h"
#include "Platform.h"
#include "TextFile.h"

#include <QDir>

namespace mirthkey {

namespace {

// `text` with each CR LF turned into LF, in place.
void toLineFeeds(QString &text)
{
    QChar *data = text.data();
    const qsizetype size = text.size();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] == u'\r' && i + 1 < size && data[i + 1] == u'\n')
            continue;
        data[kept++] = data[i];
    }
    text.truncate(kept);
}

} // namespace

Commands::Commands(CompositionBox &box, Platform &platform, QWidget *window)
    : QObject(window), m_box(box), m_platform(platform), m_window(window)
{}

void Commands::refuse(const QString &prompt)
{
    m_platform.messageBox(m_window, prompt, Icon::Critical, Buttons::Ok,
                          QStringLiteral("错误提示"));
    m_box.setFocus();
}

void Commands::copy()
{
    if (m_box.textLength() == 0) {
        refuse(QStringLiteral("只有生成表情代码后方可复制！"));
        return;
    }

    m_box.setFocus();
    m_box.setSelectionStart(0);
    m_box.setSelectionLength(m_box.textLength());
    m_platform.clearClipboard();
    // The clipboard takes line breaks as the platform writes them: Qt turns each "\n"
    // into CR LF on Windows, and a paste on Linux gets no stray CR.
    QString text = m_box.text();
    toLineFeeds(text);
    m_platform.setClipboardText(text);
    m_platform.messageBox(
        m_window, QStringLiteral("代码已复制到系统的剪贴板上，\r\n请粘贴到当前的QQ聊天窗口。"),
        Icon::Information, Buttons::Ok, QStringLiteral("系统提示"));
}

void Commands::clear()
{
    const Answer answer =
        m_platform.messageBox(m_window, QStringLiteral("是否要清空已编辑好的表情代码？"),
                              Icon::Exclamation, Buttons::YesNo, QStringLiteral("系统提示"));
    m_box.setFocus();
    if (answer == Answer::Yes)
        m_box.setText(QString());
}

void Commands::save()
{
    if (m_box.textLength() == 0) {
        refuse(QStringLiteral("只有生成表情代码后才能保存！"));
        return;
    }

    // The dialog asks before an existing file is replaced, starts with an empty name
    // and adds no extension to a name typed without one.
    const std::optional<QString> path = m_platform.saveFileName(
        m_window, QStringLiteral("文件另存为"), QStringLiteral("文本文件(*.txt)|*.txt|"));
    if (!path)
        return;

    const std::optional<QString> failure = writeTextFile(*path, m_box.text());
    if (failure) {
        refuse(QStringLiteral("文件保存失败！\r\n") + QDir::toNativeSeparators(*path) +
               QStringLiteral("\r\n") + *failure);
    }
}

void Commands::showHelp()
{
    m_box.setText(QStringLiteral(
        "简单帮助：\r\n\r\n"
        "根据实际需要，用鼠标直接在表情图上依次单击所需表情，程序自动帮你采集这些表情并"
        "生成表情代码，而你只需要将生成的这些代码复制出来粘贴到QQ的聊天窗口中发送即可。"));
}

void Commands::showHistory()
{
    // Days as "yyyy年mm月dd日": four-digit year, two-digit month and day.
    const auto day = [](const QDate &date) {
        const QLatin1Char zero('0');
        return QStringLiteral("%1年%2月%3日")
            .arg(date.year(), 4, 10, zero)
            .arg(date.month(), 2, 10, zero)
            .arg(date.day(), 2, 10, zero);
    };
    // The heading, each note with its own day, and the running version's line with today's.
    const QString paragraph = QStringLiteral("\r\n\r\n");
    QString text = QString::fromUtf16(history::kHeading) + paragraph;
    for (const history::Note &note : history::kNotes) {
        text += day(QDate(note.year, note.month, note.day)) + u' ' + QString::fromUtf16(note.text) +
                paragraph;
    }
    text += day(m_platform.today()) + u' ' + QString::fromUtf16(history::kUpdated);
    m_box.setText(text);
}

void Commands::showAbout() {}

} // namespace mirthkey
