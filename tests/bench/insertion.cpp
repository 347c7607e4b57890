// SPDX-License-Identifier: GPL-3.0-or-later
// Time of one palette click in a composition box holding about 1 MB of text, the
// caret in the middle, including the relayout and repaint that follow it.
#include "Application.h"
#include "CompositionBox.h"
#include "Form2.h"
#include "ProgramFont.h"
#include "QtPlatform.h"
#include "Spread.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    mirthkey::installProgramFont();
    mirthkey::QtPlatform platform;
    mirthkey::Form2 form(platform);
    form.show();

    // Lines of codes and words, as a long composition would hold them.
    const QString line = QStringLiteral("/wx/se/ka/fendou 今天很开心 /xixing/nan/shui\r\n");
    QString text;
    while (text.size() * 2 < qsizetype(1024) * 1024)
        text += line;
    mirthkey::CompositionBox &box = form.composition();
    box.setText(text);
    QApplication::processEvents();
    auto *button = form.findChild<QPushButton *>(QStringLiteral("Command15"));

    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        box.setSelectionStart(int(text.size() / 2));
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        button->click();
        form.repaint();
        QApplication::processEvents();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const auto s = mirthkey::bench::spreadOf(times);
    std::printf("insertion into a %.1f MB box: median %.3f ms (min %.3f, max %.3f), n=%zu\n",
                double(text.size()) * 2 / (1024.0 * 1024.0), s.median, s.min, s.max, s.n);
    return 0;
}
