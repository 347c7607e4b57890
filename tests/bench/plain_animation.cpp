// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for the idle figures: the program's two decorations done the plain way. A
// window of the program's size and font types the description into a QLabel, resized to
// its caption, and switches a bold label red and blue, both from one 200 ms timer.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QFont font(QStringLiteral("AR PL UMing CN"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    QWidget window;
    window.setWindowTitle(QStringLiteral("plain animation"));
    window.setFixedSize(408, 465);
    const QString text = QStringLiteral("程序说明：\r\n本程序为QQ表情外挂的辅助软件，是一款不可"
                                        "多得的好工具。\r\n既可以当作QQ表情代码的查看器，又可以"
                                        "拿来做QQ批量表情的输入器。");
    auto *typed = new QLabel(&window);
    typed->move(16, 336);
    QPalette blue = typed->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    typed->setPalette(blue);
    auto *blinking = new QLabel(QStringLiteral("乐键小匠"), &window);
    blinking->move(61, 426);
    QFont bold = font;
    bold.setBold(true);
    blinking->setFont(bold);
    blinking->adjustSize();
    qsizetype count = 0;
    bool red = true;
    const auto step = [&] {
        if (++count > text.size())
            count = 0;
        typed->setText(text.left(count) + u'|');
        typed->adjustSize();
        QPalette palette = blinking->palette();
        palette.setColor(QPalette::WindowText, red ? Qt::red : Qt::blue);
        blinking->setPalette(palette);
        red = !red;
    };
    step();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, step);
    timer.start(200);
    window.show();
    return QApplication::exec();
}
