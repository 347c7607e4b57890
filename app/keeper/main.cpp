// Serves the text it reads on standard input as the X11 clipboard until another
// program takes the clipboard, then ends. Started by Mirthkey as it quits.
#include <QClipboard>
#include <QGuiApplication>
#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    setsid(); // outlive the terminal or session that started the program

    QByteArray text;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        text.append(buffer, qsizetype(n));

    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QString::fromUtf8(text));
    if (!clipboard->ownsClipboard())
        return 1;
    QObject::connect(clipboard, &QClipboard::changed, &app, [clipboard](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard())
            QCoreApplication::quit();
    });
    return QGuiApplication::exec();
}
