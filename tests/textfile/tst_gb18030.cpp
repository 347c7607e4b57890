// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own GB18030 encoder, the one every system uses, gives the bytes of the C
// library's converter for every character.
#include "Gb18030.h"
#include "Gb18030Table.h"

#include <QSysInfo>
#include <QtTest>
#include <iconv.h>

using namespace mirthkey;

namespace {

// One character through the C library's converter; the private-use characters it has no
// code for take the 2005 edition's, as the program gives them.
QByteArray byTheCLibrary(QStringView character)
{
    iconv_t cd = iconv_open("GB18030", QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE"
                                                                                     : "UTF-16BE");
    // NOLINTNEXTLINE(performance-no-int-to-ptr): (iconv_t)-1 is iconv_open's failure value
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "(no converter)";
    char *in = reinterpret_cast<char *>(const_cast<char16_t *>(character.utf16()));
    size_t inLeft = size_t(character.size()) * sizeof(char16_t);
    char buffer[8];
    char *out = buffer;
    size_t outLeft = sizeof buffer;
    const bool converted = iconv(cd, &in, &inLeft, &out, &outLeft) != size_t(-1);
    iconv_close(cd);
    if (converted && out != buffer) // nothing written: a character without a code
        return QByteArray(buffer, out - buffer);
    const gb18030::LegacyCode *code = gb18030::legacyCode(character[0].unicode());
    if (character.size() != 1 || !code)
        return "(not converted)";
    const char bytes[] = {char(code->lead), char(code->trail)};
    return QByteArray(bytes, 2);
}

} // namespace

class TestGb18030 : public QObject {
    Q_OBJECT

private slots:
    void everyCharacterAsTheCLibraryEncodesIt()
    {
        int checked = 0;
        for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
            if (unit >= 0xD800 && unit <= 0xDFFF)
                continue;
            const char16_t c = char16_t(unit);
            const QStringView one(&c, 1);
            const QByteArray expected = byTheCLibrary(one);
            if (toGb18030(one) != expected)
                QFAIL(qPrintable(QStringLiteral("U+%1: %2 against %3")
                                     .arg(uint(unit), 4, 16, QLatin1Char('0'))
                                     .arg(QString::fromLatin1(toGb18030(one).toHex()),
                                          QString::fromLatin1(expected.toHex()))));
            ++checked;
        }
        QCOMPARE(checked, 0x10000 - 0x800);
        for (const char32_t point : {0x10000U, 0x1F600U, 0x20000U, 0x20087U, 0x20089U, 0x200CCU,
                                     0x215D7U, 0x2298FU, 0x241FEU, 0x10FFFFU}) {
            const QString text = QString::fromUcs4(&point, 1);
            QCOMPARE(toGb18030(text), byTheCLibrary(text));
        }
    }

    void knownCodes()
    {
        QCOMPARE(toGb18030(u"/wx微笑"), QByteArray::fromHex("2F7778CEA2D0A6"));
        QCOMPARE(toGb18030(u"€"), QByteArray::fromHex("A2E3"));
        QCOMPARE(toGb18030(u"\U0001F600"), QByteArray::fromHex("9439FC36"));
        QCOMPARE(toGb18030(u"\uE7C7"), QByteArray::fromHex("8135F437"));
        QCOMPARE(toGb18030(u"\uE78D\uE864"), QByteArray::fromHex("A6D9FEA0"));
    }
};

QTEST_GUILESS_MAIN(TestGb18030)
#include "tst_gb18030.moc"
