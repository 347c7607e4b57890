#include "Commands.h"
#include "CompositionBox.h"
#include "Platform.h"
#include "Refusal.h"

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

void copyCodes(CompositionBox &box, Platform &platform, QWidget *window)
{
    if (box.textLength() == 0) {
        refuse(box, platform, window, QStringLiteral("只有生成表情代码后方可复制！"));
        return;
    }

    box.setFocus();
    box.setSelectionStart(0);
    box.setSelectionLength(box.textLength());
    platform.clearClipboard();
    // The clipboard takes line breaks as the platform writes them: Qt turns each "\n"
    // into CR LF on Windows, and a paste on Linux gets no stray CR.
    QString text = box.text();
    toLineFeeds(text);
    platform.setClipboardText(text);
    platform.messageBox(
        window, QStringLiteral("代码已复制到系统的剪贴板上，\r\n请粘贴到当前的QQ聊天窗口。"),
        Icon::Information, Buttons::Ok, QStringLiteral("系统提示"));
}

} // namespace mirthkey
