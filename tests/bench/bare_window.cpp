// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for start-up figures: the least a Qt Widgets window costs.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(408, 465);
    window.show();
    return QApplication::exec();
}
