// SPDX-License-Identifier: GPL-3.0-or-later
// Save through the scripted platform into a fresh folder: the bytes of the file, the
// replacement of an old file, and paths that cannot be written.
#include "CompositionBox.h"
#include "Gb18030.h"
#include "Links.h"
#include "MainWindow.h"
#include "SaveTest.h"
#include "TextFiles.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace mirthkey;
using test::contents;
using test::fromGb18030;
using test::SaveTest;
using test::write;

class TestSave : public SaveTest {
    Q_OBJECT

private slots:
    void init() { openWindowAndFolder(); }
    void cleanup() { closeWindowAndFolder(); }

    void fileHoldsTheTextInGb18030_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("two codes") << "/wx/se" << QByteArray::fromHex("2F77782F73650D0A");
        QTest::newRow("a line break") << "\r\n" << QByteArray::fromHex("0D0A0D0A");
        QTest::newRow("a space") << " " << QByteArray::fromHex("200D0A");
        QTest::newRow("Chinese") << "微笑" << QByteArray::fromHex("CEA2D0A60D0A");
        QTest::newRow("lines") << "/wx\r\n微笑\r\n"
                               << QByteArray::fromHex("2F77780D0ACEA2D0A60D0A0D0A");
        QTest::newRow("beyond GBK")
            << "a\U0001F600é€" << QByteArray::fromHex("619439FC36A8A6A2E30D0A");
        QTest::newRow("private use of 2005")
            << "\uE78D\uE864" << QByteArray::fromHex("A6D9FEA00D0A");
        QTest::newRow("lone surrogate") << QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b")
                                        << QByteArray::fromHex("618431A437620D0A");
    }
    void fileHoldsTheTextInGb18030()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        save(text, path("codes"));
        QCOMPARE(box().text(), text); // the box holds the text as given
        QCOMPARE(platform->calls, QStringList{"saveFileName"});
        QCOMPARE(platform->saveTitles, QStringList{"文件另存为"});
        QCOMPARE(platform->saveFilters, QStringList{"文本文件(*.txt)|*.txt|"});
        // The name as chosen, no extension added, nothing left beside it.
        QCOMPARE(folder().keys(), QStringList{"codes"});
        QCOMPARE(contents(path("codes")).toHex(' '), bytes.toHex(' '));
        QCOMPARE(QApplication::focusWidget(), saveButton());
    }

    void longTextRoundTrips()
    {
        // Odd-sized pieces, so surrogate pairs straddle every boundary of the encoder's.
        QString text = QStringLiteral("a");
        while (text.size() < 300'000)
            text += QStringLiteral("\U0001F600微笑/wx\U00020000\r\n");
        save(text, path("long.txt"));
        QCOMPARE(fromGb18030(contents(path("long.txt"))), text + QStringLiteral("\r\n"));
    }

    void everyCharacterSurvives()
    {
        QString all;
        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            if (c < 0xD800 || c > 0xDFFF)
                all.append(QChar::fromUcs4(c));
        }
        const QList<uint> before = all.toUcs4();
        const QList<uint> after = fromGb18030(toGb18030(all)).toUcs4();
        QCOMPARE(after.size(), before.size());
        // A few private-use characters come back as the standard ones they stood for.
        for (qsizetype i = 0; i < before.size(); ++i) {
            if (after[i] != before[i])
                QVERIFY2(before[i] >= 0xE000 && before[i] <= 0xF8FF,
                         qPrintable(QString::number(before[i], 16)));
        }
    }

    void replacesAnExistingFile_data()
    {
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("the file") << false;
        // Under Wine a Unix link, which Wine shows as the file it reaches.
        QTest::newRow("a symbolic link to it") << true;
    }
    void replacesAnExistingFile()
    {
        QFETCH(bool, throughLink);
        const QString file = path("codes.txt");
        QVERIFY(write(file, "an older and much longer text\r\n"));
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(file, permissions));
        const QString chosen = throughLink ? path("link.txt") : file;
        if (throughLink && !test::makeSymbolicLink(QStringLiteral("codes.txt"), chosen))
            QSKIP("no symbolic links on this system");
        for (int i = 0; i < 2; ++i) {
            save(QStringLiteral("/wx"), chosen);
            QCOMPARE(contents(file), QByteArray("/wx\r\n"));
        }
        QCOMPARE(platform->calls, (QStringList{"saveFileName", "saveFileName"}));
        // The link still reaches the file, and nothing is left beside them.
        QVERIFY(test::sameFile(chosen, file));
        QCOMPARE(folder().size(), throughLink ? 2 : 1);
    }

    void linkToNothingMakesItsFile_data()
    {
        QTest::addColumn<QString>("target"); // of the link codes.txt
        QTest::addColumn<QString>("reason"); // empty: saved
        QTest::newRow("a name beside it") << "missing.txt"
                                          << "";
        QTest::newRow("a name in a missing folder") << "nowhere/missing.txt"
                                                    << "找不到该文件或文件夹";
        QTest::newRow("itself") << "codes.txt"
                                << "符号链接的层数过多";
    }
    void linkToNothingMakesItsFile()
    {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        const QString chosen = path("codes.txt");
        if (!test::makeSymbolicLink(target, chosen))
            QSKIP("no symbolic links on this system");
        const auto before = folder();
        save(QStringLiteral("/wx"), chosen);
        if (reason.isEmpty()) {
            QCOMPARE(platform->calls, QStringList{"saveFileName"});
            QCOMPARE(contents(path(target)), QByteArray("/wx\r\n"));
            QVERIFY(test::sameFile(chosen, path(target)));
            QCOMPARE(folder().size(), 2);
            return;
        }
        QCOMPARE(platform->calls, (QStringList{"saveFileName", "messageBox"}));
        QCOMPARE(platform->messageBoxes[0].prompt, QStringLiteral("文件保存失败！\r\n") +
                                                       QDir::toNativeSeparators(chosen) +
                                                       QStringLiteral("\r\n") + reason);
        QCOMPARE(folder(), before);
        // The link is still there (Wine lists no link to nothing): a second save fails alike.
        save(QStringLiteral("/wx"), chosen);
        QCOMPARE(platform->messageBoxes.size(), 2);
    }

    void cancelTouchesNothing()
    {
        QVERIFY(write(path("codes.txt"), "the old text\r\n"));
        const auto before = folder();
        box().setText(QStringLiteral("/wx"));
        platform->fileNames = QStringList{QString()};
        clickSave();
        QCOMPARE(platform->calls, QStringList{"saveFileName"});
        QCOMPARE(folder(), before);
        QCOMPARE(QApplication::focusWidget(), saveButton());
    }
};

QTEST_MAIN(TestSave)
#include "tst_save.moc"
