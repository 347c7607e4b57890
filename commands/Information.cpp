#include "BuildInfo.h"
#include "Commands.h"
#include "CompositionBox.h"
#include "Platform.h"

namespace mirthkey {

void showHelp(CompositionBox &box, Platform &, QWidget *)
{
    box.setText(QStringLiteral(
        "简单帮助：\r\n\r\n"
        "根据实际需要，用鼠标直接在表情图上依次单击所需表情，程序自动帮你采集这些表情并"
        "生成表情代码，而你只需要将生成的这些代码复制出来粘贴到QQ的聊天窗口中发送即可。"));
}

void showHistory(CompositionBox &box, Platform &platform, QWidget *)
{
    const QDate today = platform.today();
    const QLatin1Char zero('0');
    // "yyyy年mm月dd日": four-digit year, two-digit month and day.
    const QString date = QStringLiteral("%1年%2月%3日")
                             .arg(today.year(), 4, 10, zero)
                             .arg(today.month(), 2, 10, zero)
                             .arg(today.day(), 2, 10, zero);
    // The version shown is major.minor.build; the third part of the file version is
    // left out.
    const QString version = QStringLiteral("%1.%2.%3")
                                .arg(build::kVersionMajor)
                                .arg(build::kVersionMinor)
                                .arg(build::kVersionBuild);
    box.setText(QStringLiteral("软件更新历史：\r\n\r\n"
                               "2005年07月17日 软件的雏形诞生；\r\n\r\n") +
                date + QStringLiteral(" 软件己更新到 V") + version + u'版');
}

void showAbout(CompositionBox &, Platform &, QWidget *) {}

} // namespace mirthkey
