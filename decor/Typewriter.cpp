#include "Typewriter.h"

#include "ForeColor.h"

#include <QLabel>

namespace mirthkey {

const QString kDescription = QStringLiteral("程序说明：\r\n本程序为QQ表情外挂的辅助软件，是一款不可"
                                            "多得的好工具。\r\n既可以当作QQ表情代码的查"
                                            "看器，又可以拿来做QQ批量表情的输入器。");

void typewriterStep(QLabel &label1, int &typedCount)
{
    typedCount += 1;
    if (typedCount > kDescription.size())
        typedCount = 0;
    label1.setText(kDescription.left(typedCount) + u'|');
    // The label keeps its top-left corner and grows or shrinks with its caption.
    label1.adjustSize();
}

void blinkStep(QLabel &label3)
{
    if (foreColor(label3) == kRedValue)
        setForeColor(label3, kBlueValue);
    else
        setForeColor(label3, kRedValue);
}

} // namespace mirthkey
