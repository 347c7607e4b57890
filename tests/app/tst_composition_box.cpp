// The composition box speaks in the program's units: UTF-16 code units, with every
// line break counted as CR LF.
#include "app/CompositionBox.h"

#include <QtTest>

using namespace mirthkey;

class TestCompositionBox : public QObject {
    Q_OBJECT
    CompositionBox box;

private slots:
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
        box.SetText(written);
        QCOMPARE(box.Text(), read);
        QCOMPARE(box.TextLength(), read.size());
        QCOMPARE(box.SelStart(), 0);
        QCOMPARE(box.SelLength(), 0);
    }

    void positionsCountBreaksAsTwo()
    {
        box.SetText(QStringLiteral("ab\r\ncd\r\n\r\nef"));
        // Every position that is not inside a CR LF pair maps to itself and back.
        for (const int p : {0, 1, 2, 4, 5, 6, 8, 10, 11, 12}) {
            box.SetSelStart(p);
            QCOMPARE(box.SelStart(), p);
            QCOMPARE(box.SelLength(), 0);
        }
        // Between CR and LF the caret stays at the end of the line; past the end it
        // stops at the end of the text.
        box.SetSelStart(3);
        QCOMPARE(box.SelStart(), 2);
        box.SetSelStart(99);
        QCOMPARE(box.SelStart(), 12);
    }

    void selectionInProgramUnits()
    {
        box.SetText(QStringLiteral("ab\r\ncd"));
        box.SetSelStart(1);
        box.SetSelLength(4);
        QCOMPARE(box.SelText(), QStringLiteral("b\r\nc"));
        QCOMPARE(box.SelLength(), 4);
        box.SetSelStart(0);
        box.SetSelLength(1000);
        QCOMPARE(box.SelLength(), 6);
        QCOMPARE(box.SelText(), box.Text());
    }

    void selTextReplacesAndLeavesTheCaretBehind()
    {
        box.SetText(QStringLiteral("abcd"));
        box.SetSelStart(1);
        box.SetSelLength(2);
        box.SetSelText(QStringLiteral("X\r\nY"));
        QCOMPARE(box.Text(), QStringLiteral("aX\r\nYd"));
        QCOMPARE(box.SelStart(), 5);
        QCOMPARE(box.SelLength(), 0);
        QCOMPARE(box.document()->blockCount(), 2);
    }
};

QTEST_MAIN(TestCompositionBox)
#include "tst_composition_box.moc"
