#include "app/CompositionBox.h"
#include "app/Platform.h"
#include "commands/Commands.h"
#include "commands/Refusal.h"

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

void copyCodes(CompositionBox &text1, Platform &platform, QWidget *window)
{
    if (text1.TextLength() == 0) {
        refuse(text1, platform, window, QStringLiteral("只有生成表情代码后方可复制！"));
        return;
    }

    text1.SetFocus();
    text1.SetSelStart(0);
    text1.SetSelLength(text1.TextLength());
    platform.clearClipboard();
    // The clipboard takes line breaks as the platform writes them: Qt turns each "\n"
    // into CR LF on Windows, and a paste on Linux gets no stray CR.
    QString text = text1.Text();
    toLineFeeds(text);
    platform.setClipboardText(text);
    platform.messageBox(
        window, QStringLiteral("代码已复制到系统的剪贴板上，\r\n请粘贴到当前的QQ聊天窗口。"),
        Style::Information, QStringLiteral("系统提示"));
}

} // namespace mirthkey
