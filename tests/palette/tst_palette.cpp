// SPDX-License-Identifier: GPL-3.0-or-later
// The emoticon code table, the palette's buttons and the insertion of a code into the
// composition box.
#include "Application.h"
#include "CompositionBox.h"
#include "EmoticonPalette.h"
#include "EmoticonTable.h"
#include "MainWindow.h"
#include "ProgramFont.h"
#include "WindowTest.h"

#include <QFontInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>
#include <map>

using namespace mirthkey;

class TestPalette : public test::WindowTest {
    Q_OBJECT

private slots:
    void initTestCase() { installProgramFont(); }
    void init() { QVERIFY(openWindow(false)); }
    void cleanup() { closeWindow(); }

    void codesAreDistinctAndReadBackUnambiguously()
    {
        const QRegularExpression shape(QStringLiteral("^/[a-z]{2,6}$"));
        std::map<qsizetype, int> lengths;
        for (int n = 1; n <= kEmoticonCount; ++n) {
            QVERIFY2(shape.match(codeOf(n)).hasMatch(), qPrintable(codeOf(n)));
            ++lengths[codeOf(n).size() - 1];
            for (int m = 1; m <= kEmoticonCount; ++m) {
                if (m != n)
                    QVERIFY2(!codeOf(m).startsWith(codeOf(n)),
                             qPrintable(codeOf(n) + " " + codeOf(m)));
            }
            QVERIFY(!emoticon(n).name.empty());
        }
        const std::map<qsizetype, int> expected{{2, 59}, {3, 20}, {4, 11}, {5, 4}, {6, 2}};
        QCOMPARE(lengths, expected);
    }

    void tableRowsAndGrid_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("first") << 1 << "/jy" << 1 << 1;
        QTest::newRow("smile") << 15 << "/wx" << 1 << 15;
        QTest::newRow("end of row 1") << 16 << "/ng" << 1 << 16;
        QTest::newRow("start of row 2") << 17 << "/kuk" << 2 << 1;
        QTest::newRow("longest, row 2") << 31 << "/fendou" << 2 << 15;
        QTest::newRow("not a prefix of /qiang") << 51 << "/qianc" << 4 << 3;
        QTest::newRow("longest, row 6") << 94 << "/xixing" << 6 << 14;
        QTest::newRow("last") << 96 << "/nan" << 6 << 16;
    }

    void tableRowsAndGrid()
    {
        QFETCH(int, number);
        QFETCH(QString, code);
        QFETCH(int, row);
        QFETCH(int, column);
        QCOMPARE(codeOf(number), code);
        QCOMPARE(paletteRow(number), row);
        QCOMPARE(paletteColumn(number), column);
        QCOMPARE(emoticonButton(number)->pos(), QPoint(2 + 24 * (column - 1), 12 + 24 * (row - 1)));
    }

    void buttonsStandInTheGrid_data()
    {
        QTest::addColumn<int>("number");
        for (int n = 1; n <= kEmoticonCount; ++n)
            QTest::newRow(qPrintable(QStringLiteral("Command%1").arg(n))) << n;
    }
    void buttonsStandInTheGrid()
    {
        QFETCH(int, number);
        auto *button = form->findChild<QPushButton *>(QStringLiteral("Command%1").arg(number));
        QVERIFY(button);
        QCOMPARE(button->parentWidget()->objectName(), QStringLiteral("Frame1"));
        QVERIFY(!button->isHidden());
        QVERIFY(button->isEnabled());
        const QFontInfo font(button->font());
        QCOMPARE(font.family(), QStringLiteral("AR PL UMing CN"));
        QCOMPARE(font.pixelSize(), 12);
        QVERIFY(!font.bold());
        const int row = (number - 1) / 16;
        const int column = (number - 1) % 16;
        QCOMPARE(button->geometry(), QRect(2 + 24 * column, 12 + 24 * row, 25, 25));
        QVERIFY(button->text().isEmpty());
        QVERIFY(button->toolTip().isEmpty());
        QCOMPARE(button->iconSize(), QSize(20, 20));
        QVERIFY(!button->icon().isNull());
        QCOMPARE(button->palette().color(QPalette::Button), QColor(Qt::white));
        QVERIFY(button->accessibleName().endsWith(u' ' + codeOf(number)));
        if (number == 15)
            QCOMPARE(button->accessibleName(), QStringLiteral("微笑 /wx"));
    }

    void paletteAloneEmitsTheChosenCode()
    {
        EmoticonPalette palette(QStringLiteral("ＱＱ表情列表区"));
        QSignalSpy chosen(&palette, &EmoticonPalette::emoticonChosen);
        for (const int n : {15, 3, 94, 15})
            palette.button(n)->click();
        QCOMPARE(chosen.size(), 4);
        QStringList codes;
        for (const QList<QVariant> &signal : chosen)
            codes << signal.at(0).toString();
        QCOMPARE(codes, (QStringList{"/wx", "/se", "/xixing", "/wx"}));
    }

    void clickInsertsAtTheCaret_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caret");

        QTest::newRow("empty box") << "" << 0 << 0 << QList<int>{15} << "/wx" << 3;
        QTest::newRow("road of one message")
            << "" << 0 << 0 << QList<int>{15, 3, 22} << "/wx/se/ka" << 9;
        QTest::newRow("between two codes")
            << "/wx/se" << 3 << 0 << QList<int>{22} << "/wx/ka/se" << 6;
        QTest::newRow("caret at 0") << "/wx" << 0 << 0 << QList<int>{3} << "/se/wx" << 3;
        QTest::newRow("selection replaced")
            << "/wx/se/ka" << 3 << 3 << QList<int>{31} << "/wx/fendou/ka" << 10;
        QTest::newRow("all selected") << "/wx/se" << 0 << 6 << QList<int>{94} << "/xixing" << 7;
        QTest::newRow("same button twice")
            << "" << 0 << 0 << QList<int>{9, 9} << "/shui/shui" << 10;
        QTest::newRow("after a line break")
            << "ab\r\ncd" << 4 << 0 << QList<int>{15} << "ab\r\n/wxcd" << 7;
        QTest::newRow("selection across lines")
            << "ab\r\ncd\r\nef" << 1 << 7 << QList<int>{96} << "a/nanef" << 5;
        QTest::newRow("emoji before the caret")
            << u"😀x"_qs << 2 << 0 << QList<int>{15} << u"😀/wxx"_qs << 5;
    }

    void clickInsertsAtTheCaret()
    {
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QList<int>, clicks);
        QFETCH(QString, expected);
        QFETCH(int, caret);

        box().setText(text);
        box().setSelectionStart(selStart);
        box().setSelectionLength(selLength);
        QCOMPARE(box().selectionLength(), selLength);
        for (const int n : clicks)
            emoticonButton(n)->click();
        QCOMPARE(box().text(), expected);
        QCOMPARE(box().selectionStart(), caret);
        QCOMPARE(box().selectionLength(), 0);
    }

    void keyboardActivationInsertsAndReturnsFocus_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers();
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }
    void keyboardActivationInsertsAndReturnsFocus()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        // An action button takes the key as well: help fills the box.
        helpButton()->setFocus();
        QTest::keyClick(form->windowHandle(), Qt::Key(key), modifiers);
        QVERIFY(box().text().startsWith(QStringLiteral("简单帮助：")));
        box().setText(QString());

        emoticonButton(15)->setFocus();
        QCOMPARE(QApplication::focusWidget(), emoticonButton(15));
        QTest::keyClick(form->windowHandle(), Qt::Key(key), modifiers);
        QCOMPARE(box().text(), QStringLiteral("/wx"));
        QCOMPARE(QApplication::focusWidget(), &box());
        QTest::keyClick(form->windowHandle(), Qt::Key_X);
        QCOMPARE(box().text(), QStringLiteral("/wxx"));
    }
};

QTEST_MAIN(TestPalette)
#include "tst_palette.moc"
