// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own GB18030 table, used where the system has no converter, gives the
// bytes of the C library's converter for every character.
#include "Gb18030.h"
#include "Gb18030Table.h"

#include <QtTest>

using namespace mirthkey;

class TestGb18030 : public QObject {
    Q_OBJECT

    static QByteArray byTable(QStringView text)
    {
        QByteArray out;
        gb18030::encodeWithTable(text, out);
        return out;
    }

private slots:
    void everyCharacterAsTheSystemEncodesIt()
    {
        int checked = 0;
        for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
            if (unit >= 0xD800 && unit <= 0xDFFF)
                continue;
            const char16_t c = char16_t(unit);
            const QStringView one(&c, 1);
            const QByteArray expected = toGb18030(one);
            if (byTable(one) != expected)
                QFAIL(qPrintable(QStringLiteral("U+%1: %2 against %3")
                                     .arg(uint(unit), 4, 16, QLatin1Char('0'))
                                     .arg(QString::fromLatin1(byTable(one).toHex()),
                                          QString::fromLatin1(expected.toHex()))));
            ++checked;
        }
        QCOMPARE(checked, 0x10000 - 0x800);
        for (const char32_t point : {0x10000U, 0x1F600U, 0x20000U, 0x20087U, 0x20089U, 0x200CCU,
                                     0x215D7U, 0x2298FU, 0x241FEU, 0x10FFFFU}) {
            const QString text = QString::fromUcs4(&point, 1);
            QCOMPARE(byTable(text), toGb18030(text));
        }
    }

    void knownCodes()
    {
        QCOMPARE(byTable(u"/wx微笑"), QByteArray::fromHex("2F7778CEA2D0A6"));
        QCOMPARE(byTable(u"€"), QByteArray::fromHex("A2E3"));
        QCOMPARE(byTable(u"\U0001F600"), QByteArray::fromHex("9439FC36"));
        QCOMPARE(byTable(u"\uE7C7"), QByteArray::fromHex("8135F437"));
    }
};

QTEST_GUILESS_MAIN(TestGb18030)
#include "tst_gb18030.moc"
