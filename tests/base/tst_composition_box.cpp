// SPDX-License-Identifier: GPL-3.0-or-later
// The composition box speaks in the program's units: UTF-16 code units, with every
// line break counted as CR LF, and a line break shown is a line break in the text.
#include "CompositionBox.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScreen>
#include <QTextBlock>
#include <QtTest>

using namespace mirthkey;

class TestCompositionBox : public QObject {
    Q_OBJECT
    CompositionBox box;

private slots:
    void everyShownLineBreakIsInTheText_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("read");
        QTest::newRow("line separator") << u"/wx\u2028/se"_qs << "/wx\r\n/se";
        QTest::newRow("paragraph separator") << u"/wx\u2029/se"_qs << "/wx\r\n/se";
        QTest::newRow("CR LF") << "/wx\r\n/se"
                               << "/wx\r\n/se";
        QTest::newRow("other controls are characters")
            << u"a\u0085b\vc\fd"_qs << u"a\u0085b\vc\fd"_qs;
    }
    void everyShownLineBreakIsInTheText()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, read);
        CompositionBox shown;
        shown.resize(300, 100);
        shown.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown));
        // Through the real clipboard, as Ctrl+V brings it.
        QApplication::clipboard()->setText(pasted);
        shown.paste();
        QCOMPARE(shown.text(), read);
        // The lines on screen are the lines of the text.
        int shownLines = 0;
        for (QTextBlock b = shown.document()->begin(); b.isValid(); b = b.next())
            shownLines += b.layout()->lineCount();
        QCOMPARE(shownLines, int(read.count(QStringLiteral("\r\n"))) + 1);
        shown.setText(QString());
        shown.replaceSelection(pasted);
        QCOMPARE(shown.text(), read);
    }

    void lineBreaksReadBackAsCrLf_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("read");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("lone break") << "\r\n"
                                    << "\r\n";
        QTest::newRow("CR LF") << "a\r\nb"
                               << "a\r\nb";
        QTest::newRow("LF and CR alone") << "a\nb\rc"
                                         << "a\r\nb\r\nc";
        QTest::newRow("mixed, doubled") << "\r\r\n\n"
                                        << "\r\n\r\n\r\n";
        QTest::newRow("trailing break") << "/wx\r\n"
                                        << "/wx\r\n";
        QTest::newRow("no-break space and tab kept") << u"a\u00A0\tb"_qs << u"a\u00A0\tb"_qs;
        QTest::newRow("emoji") << u"😀\r\n😀"_qs << u"😀\r\n😀"_qs;
    }

    void lineBreaksReadBackAsCrLf()
    {
        QFETCH(QString, written);
        QFETCH(QString, read);
        box.setText(written);
        QCOMPARE(box.text(), read);
        QCOMPARE(box.textLength(), read.size());
        QCOMPARE(box.selectionStart(), 0);
        QCOMPARE(box.selectionLength(), 0);
    }

    void positionsCountBreaksAsTwo()
    {
        box.setText(QStringLiteral("ab\r\ncd\r\n\r\nef"));
        // Every position that is not inside a CR LF pair maps to itself and back.
        for (const int p : {0, 1, 2, 4, 5, 6, 8, 10, 11, 12}) {
            box.setSelectionStart(p);
            QCOMPARE(box.selectionStart(), p);
            QCOMPARE(box.selectionLength(), 0);
        }
        // Between CR and LF the caret stays at the end of the line; past the end it
        // stops at the end of the text.
        box.setSelectionStart(3);
        QCOMPARE(box.selectionStart(), 2);
        box.setSelectionStart(99);
        QCOMPARE(box.selectionStart(), 12);
    }

    void selectionInProgramUnits()
    {
        box.setText(QStringLiteral("ab\r\ncd"));
        box.setSelectionStart(1);
        box.setSelectionLength(4);
        QCOMPARE(box.selectedText(), QStringLiteral("b\r\nc"));
        QCOMPARE(box.selectionLength(), 4);
        box.setSelectionStart(0);
        box.setSelectionLength(1000);
        QCOMPARE(box.selectionLength(), 6);
        QCOMPARE(box.selectedText(), box.text());
    }

    void selTextReplacesAndLeavesTheCaretBehind()
    {
        box.setText(QStringLiteral("abcd"));
        box.setSelectionStart(1);
        box.setSelectionLength(2);
        box.replaceSelection(QStringLiteral("X\r\nY"));
        QCOMPARE(box.text(), QStringLiteral("aX\r\nYd"));
        QCOMPARE(box.selectionStart(), 5);
        QCOMPARE(box.selectionLength(), 0);
        QCOMPARE(box.document()->blockCount(), 2);
    }

    void caretBlinksOnScreen()
    {
        // The caret's blink reaches the screen: it shows the caret off and on again, as a
        // whole repaint of the window does.
        QWidget window;
        window.resize(300, 100);
        auto *shown = new CompositionBox(&window);
        shown->setGeometry(10, 10, 280, 80);
        shown->setPlainText(QStringLiteral("/wx"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        shown->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_VERIFY(shown->hasFocus());
        const QRect caret =
            shown->cursorRect().translated(shown->viewport()->mapTo(&window, QPoint(0, 0)));
        const auto onScreen = [&window, caret] {
            return window.screen()->grabWindow(window.winId()).toImage().copy(caret);
        };
        const QImage first = onScreen();
        // Through a change of the caret's look, and back; each time the screen holds what a
        // whole repaint gives.
        QTRY_VERIFY_WITH_TIMEOUT(onScreen() != first, 3000);
        const QImage blinked = onScreen();
        window.repaint();
        QCOMPARE(onScreen(), blinked);
        QTRY_VERIFY_WITH_TIMEOUT(onScreen() == first, 3000);
        window.repaint();
        QCOMPARE(onScreen(), first);
    }
};

QTEST_MAIN(TestCompositionBox)
#include "tst_composition_box.moc"
