#include "Links.h"

#include "BuildInfo.h"
#include "ForeColor.h"
#include "Platform.h"

#include <QLabel>

namespace mirthkey {

namespace {

void setFontUnderline(QLabel &label, bool underline)
{
    if (label.font().underline() == underline)
        return;
    QFont font = label.font();
    font.setUnderline(underline);
    label.setFont(font);
}

} // namespace

QUrl webTarget()
{
    return QUrl(QString::fromUtf16(build::kWebsite));
}

QUrl mailTarget()
{
    return QUrl(QStringLiteral("mailto:") + QString::fromUtf16(build::kAuthorEmail));
}

void openLink(Platform &platform, const QUrl &target)
{
    platform.openUrl(target);
}

void linkLabelMouseMove(QLabel &label)
{
    setFontUnderline(label, true);
    setForeColor(label, kRedValue);
}

void windowSurfaceMouseMove(QLabel &label7, QLabel &label10)
{
    setFontUnderline(label7, false);
    setForeColor(label7, kBlueValue);
    setFontUnderline(label10, false);
    setForeColor(label10, kBlueValue);
}

} // namespace mirthkey
