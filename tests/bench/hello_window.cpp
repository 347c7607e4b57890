// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the start-up and memory figures measured with a window manager: the
// least a Qt Widgets window that shows text costs (it loads the font database, as every
// window with text does).
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("hello"));
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Hello, world")));
    window.resize(320, 200);
    window.show();
    return QApplication::exec();
}
