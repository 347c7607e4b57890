// SPDX-License-Identifier: GPL-3.0-or-later
// Copy and save of a composition box holding 10 MB of text (its size in UTF-16): the
// time of each click, median of 5 runs, and the memory at its peak above the idle
// program, in multiples of the text's size. Offscreen, with the real clipboard.
#include "Commands.h"

#include "CompositionBox.h"
#include "EmoticonTable.h"
#include "MainWindow.h"
#include "QtPlatform.h"
#include "Spread.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace mirthkey;

namespace {

constexpr int kRuns = 5;
constexpr double kMB = 1024.0 * 1024.0;

// The real clipboard and clock; message boxes are answered at once, and Save As always
// names the same file.
class BenchPlatform final : public Platform {
public:
    Answer messageBox(QWidget *, const QString &prompt, Icon icon, Buttons,
                      const QString &) override
    {
        if (icon == Icon::Critical)
            std::fprintf(stderr, "unexpected refusal: %s\n", qPrintable(prompt));
        return Answer::Ok;
    }
    std::optional<QString> saveFileName(QWidget *, const QString &, const QString &) override
    {
        return path;
    }
    void beep() override {}
    void openUrl(const QUrl &) override {}
    void clearClipboard() override { real.clearClipboard(); }
    void setClipboardText(const QString &text) override { real.setClipboardText(text); }
    QDate today() override { return real.today(); }

    QtPlatform real;
    QString path;
};

// Lines of codes with a few Chinese words in between, as long compositions hold them.
QString composition(qsizetype units)
{
    QRandomGenerator random(2007);
    QString text;
    text.reserve(units + 128);
    while (text.size() < units) {
        const int items = random.bounded(4, 16);
        for (int i = 0; i < items; ++i) {
            const Emoticon &e = emoticon(random.bounded(1, kEmoticonCount + 1));
            const std::u16string_view piece = random.bounded(4) == 0 ? e.name : e.code;
            text.append(reinterpret_cast<const QChar *>(piece.data()), qsizetype(piece.size()));
        }
        text += QStringLiteral("\r\n");
    }
    text.truncate(units);
    return text;
}

// A field of /proc/self/status in kB, or -1.
long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Sets the high-water mark of resident memory back to the current size.
bool resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

void measure(const char *what, double textBytes, const std::function<void()> &prepare,
             const std::function<void()> &run)
{
    std::vector<double> times;
    long peakKb = -1;
    for (int i = 0; i < kRuns; ++i) {
        prepare();
        QApplication::processEvents();
#ifdef __GLIBC__
        // Freed memory that the allocator keeps would otherwise count as idle and hide
        // what the click takes.
        malloc_trim(0);
#endif
        const long idleKb = statusKb("VmRSS:");
        const bool peakKnown = idleKb >= 0 && resetPeak();
        QElapsedTimer timer;
        timer.start();
        run();
        QApplication::processEvents(); // the repaint that follows the click
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (peakKnown)
            peakKb = std::max(peakKb, statusKb("VmHWM:") - idleKb);
    }
    const auto s = bench::spreadOf(times);
    std::printf("%s %.0f MB: median %.1f ms (min %.1f, max %.1f), n=%zu\n", what, textBytes / kMB,
                s.median, s.min, s.max, s.n);
    if (peakKb >= 0)
        std::printf("%s %.0f MB: peak memory %.1f MB above idle = %.2fx the text's UTF-16 size\n",
                    what, textBytes / kMB, double(peakKb) / 1024.0,
                    double(peakKb) * 1024.0 / textBytes);
    else
        std::printf("%s %.0f MB: peak memory not measurable here\n", what, textBytes / kMB);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchPlatform platform;
    MainWindow form(platform);
    form.show();
    CompositionBox &box = form.composition();
    Commands commands(box, platform, &form);

    const QString text = composition(qsizetype(10 * kMB / 2));
    const double textBytes = double(text.size()) * 2;
    box.setText(text);
    QApplication::processEvents();

    QTemporaryDir dir;
    platform.path = dir.filePath(QStringLiteral("codes.txt"));

    measure(
        "copy", textBytes, [&] { QGuiApplication::clipboard()->clear(); },
        [&] { commands.copy(); });
    if (QGuiApplication::clipboard()->text().size() + box.document()->blockCount() - 1 !=
        box.textLength())
        std::fprintf(stderr, "copy: the clipboard does not hold the whole text\n");

    measure(
        "save", textBytes, [&] { box.setSelectionStart(0); }, [&] { commands.save(); });
    std::printf("save %.0f MB: file of %.1f MB in GB18030\n", textBytes / kMB,
                double(QFileInfo(platform.path).size()) / kMB);

#ifndef Q_OS_WIN
    // A file with a second name is written in place, with the whole text encoded first.
    const QByteArray otherName = QFile::encodeName(dir.filePath(QStringLiteral("other.txt")));
    if (::link(QFile::encodeName(platform.path).constData(), otherName.constData()) == 0)
        measure(
            "save in place", textBytes, [&] { box.setSelectionStart(0); },
            [&] { commands.save(); });
#endif
    return 0;
}
