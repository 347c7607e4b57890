// SPDX-License-Identifier: GPL-3.0-or-later
// Time of one palette click, including the relayout and repaint that follow it:
// - in a composition box holding about 1 MB of short lines, the caret in the middle;
// - in a box holding one line of 10 KB, 100 KB and 300 KB of codes (clicks alone make
//   such a line: codes have no line breaks between them), the caret at its end, where
//   the next click goes when a message is built.
// `bench_insertion KB...` prints only the one-line figures of those sizes (for profiling).
#include "Application.h"
#include "CompositionBox.h"
#include "MainWindow.h"
#include "ProgramFont.h"
#include "QtPlatform.h"
#include "Spread.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kClicks = 21;

// Clicks `button` kClicks times, the caret put at `caret` before each, and returns the
// time of each click until the window has repainted.
mirthkey::bench::Spread timeClicks(mirthkey::MainWindow &form, QPushButton &button,
                                   const QString &text, int caret)
{
    mirthkey::CompositionBox &box = form.composition();
    box.setText(text);
    QApplication::processEvents();
    std::vector<double> times;
    for (int i = 0; i < kClicks; ++i) {
        box.setSelectionStart(caret);
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        button.click();
        form.repaint();
        QApplication::processEvents();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return mirthkey::bench::spreadOf(times);
}

void print(const char *what, const mirthkey::bench::Spread &s)
{
    std::printf("%s: median %.3f ms (min %.3f, max %.3f), n=%zu\n", what, s.median, s.min, s.max,
                s.n);
}

// About 1 MB of lines of codes and words, as a long composition would hold them, the
// caret in the middle.
void printShortLines(mirthkey::MainWindow &form, QPushButton &button)
{
    const QString line = QStringLiteral("/wx/se/ka/fendou 今天很开心 /xixing/nan/shui\r\n");
    QString text;
    while (text.size() * 2 < qsizetype(1024) * 1024)
        text += line;
    const QByteArray what = QStringLiteral("insertion into a %1 MB box")
                                .arg(double(text.size()) * 2 / (1024.0 * 1024.0), 0, 'f', 1)
                                .toUtf8();
    print(what.constData(), timeClicks(form, button, text, int(text.size() / 2)));
}

// One line of codes only; its size in characters, which is its size in bytes as saved
// (codes are ASCII). The caret at its end.
void printOneLine(mirthkey::MainWindow &form, QPushButton &button, int kilobytes)
{
    const QString codes = QStringLiteral("/wx/se/ka/fendou/xixing/nan/shui/jy/pz");
    QString line;
    while (line.size() < qsizetype(kilobytes) * 1024)
        line += codes;
    line.truncate(qsizetype(kilobytes) * 1024);
    const QByteArray what =
        QStringLiteral("insertion into one line of %1 KB of codes").arg(kilobytes).toUtf8();
    print(what.constData(), timeClicks(form, button, line, int(line.size())));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    mirthkey::installProgramFont();
    mirthkey::QtPlatform platform;
    mirthkey::MainWindow form(platform);
    form.show();
    auto *button = form.findChild<QPushButton *>(QStringLiteral("Command15"));

    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toInt();
    if (sizes.isEmpty()) {
        printShortLines(form, *button);
        sizes = {10, 100, 300};
    }
    for (const int kilobytes : sizes)
        printOneLine(form, *button, kilobytes);
    return 0;
}
