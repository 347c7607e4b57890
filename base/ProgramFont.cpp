// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramFont.h"

#include <QApplication>
#include <QFont>
#include <QScreen>

namespace mirthkey {

void installProgramFont()
{
    // "AR PL UMing CN" has the metrics the window was laid out for: 12 px Chinese
    // characters, 6 px Latin ones and 12 px lines.
    const QStringList sameMetrics{QStringLiteral("AR PL UMing CN")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), sameMetrics);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), sameMetrics);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    // Hinted glyphs and metrics fitted to whole pixels: 12 px lines, and small Latin letters
    // that keep every row. Without it the Windows font engines lay the font out unhinted.
    font.setHintingPreference(QFont::PreferFullHinting);
    // At one device pixel per pixel antialiasing only blurs these small glyphs.
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen || screen->devicePixelRatio() <= 1.0)
        font.setStyleStrategy(QFont::NoAntialias);
    QApplication::setFont(font);
}

} // namespace mirthkey
