// SPDX-License-Identifier: GPL-3.0-or-later
// The action buttons in the window, as the user clicks them: each stands where the window
// was drawn with it and runs its command on the window's composition box. What the
// commands do is tested on a box of their own in tst_commands.
#include "CompositionBox.h"
#include "MainWindow.h"
#include "WindowTest.h"

#include <QPushButton>
#include <QtTest>

using namespace mirthkey;

class TestActions : public test::WindowTest {
    Q_OBJECT

private slots:
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void eachButtonRunsItsCommand_data()
    {
        QTest::addColumn<Action>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("place"); // in pixels, inside Frame4
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("firstLine"); // of the box's text "/wx" afterwards
        QTest::addColumn<bool>("focusInBox");   // or still on the button
        const QStringList none;
        QTest::newRow("copy") << Action::Copy << "Command97"
                              << "复制(&C)" << QRect(17, 12, 52, 22)
                              << QStringList{"clearClipboard", "setClipboardText", "messageBox"}
                              << "/wx" << true;
        QTest::newRow("clear") << Action::Clear << "Command98"
                               << "清空(&E)" << QRect(72, 12, 52, 22) << QStringList{"messageBox"}
                               << "" << true;
        QTest::newRow("save, cancelled") << Action::Save << "Command99"
                                         << "保存(&S)" << QRect(127, 12, 52, 22)
                                         << QStringList{"saveFileName"} << "/wx" << false;
        QTest::newRow("help") << Action::Help << "Command100"
                              << "帮助(&H)" << QRect(182, 12, 55, 22) << none << "简单帮助："
                              << false;
        QTest::newRow("history") << Action::History << "Command101"
                                 << "版本历史(&V)" << QRect(240, 12, 76, 22) << none
                                 << "软件更新历史：" << false;
        QTest::newRow("about") << Action::About << "Command102"
                               << "关于(&A)" << QRect(319, 12, 51, 22) << none << "/wx" << false;
    }
    void eachButtonRunsItsCommand()
    {
        QFETCH(Action, role);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, place);
        QFETCH(QStringList, calls);
        QFETCH(QString, firstLine);
        QFETCH(bool, focusInBox);
        QPushButton *pressed = button(role);
        QVERIFY(pressed);
        QCOMPARE(pressed->objectName(), name);
        QCOMPARE(pressed->text(), caption);
        QCOMPARE(pressed->geometry(), place);

        box().setText(QStringLiteral("/wx"));
        click(role);
        QCOMPARE(platform->calls, calls);
        QCOMPARE(box().text().section(QStringLiteral("\r\n"), 0, 0), firstLine);
        QCOMPARE(QApplication::focusWidget(),
                 focusInBox ? static_cast<QWidget *>(&box()) : pressed);
    }

    void theNextCodeGoesInFrontOfInformation_data()
    {
        QTest::addColumn<Action>("role");
        QTest::addColumn<QString>("start");
        QTest::newRow("help") << Action::Help << QStringLiteral("/wx简单帮助：");
        QTest::newRow("history") << Action::History << QStringLiteral("/wx软件更新历史：");
    }
    void theNextCodeGoesInFrontOfInformation()
    {
        QFETCH(Action, role);
        QFETCH(QString, start);
        box().setText(QStringLiteral("/se\r\n/ka"));
        box().setSelectionStart(2);
        box().setSelectionLength(3);
        click(role);
        clickEmoticon(15);
        QVERIFY2(box().text().startsWith(start), qPrintable(box().text()));
    }
};

QTEST_MAIN(TestActions)
#include "tst_actions.moc"
