// SPDX-License-Identifier: GPL-3.0-or-later
// Save on Windows: a read-only file refused with Linux's words, a hidden or system file
// and one with two names kept, folders that take no new file, and paths that cannot be
// written.
#include "CompositionBox.h"
#include "Links.h"
#include "MainWindow.h"
#include "SaveTest.h"

#include <QPushButton>
#include <QtTest>
#include <windows.h>

using namespace mirthkey;
using test::contents;
using test::SaveTest;
using test::write;

class TestSaveWindows : public SaveTest {
    Q_OBJECT

private slots:
    void init() { openWindowAndFolder(); }
    void cleanup() { closeWindowAndFolder(); }

    void readOnlyFileIsRefusedAndKept()
    {
        QVERIFY(write(path("codes.txt"), "the old text\r\n"));
        QVERIFY(QFile::setPermissions(path("codes.txt"), QFile::ReadOwner | QFile::ReadUser));
        const auto before = folder();
        save(QStringLiteral("/wx"), path("codes.txt"));
        QCOMPARE(platform->calls, (QStringList{"saveFileName", "messageBox"}));
        // The words Linux gives for a file without write permission.
        QCOMPARE(platform->messageBoxes[0].prompt, QStringLiteral("文件保存失败！\r\n") +
                                                       QDir::toNativeSeparators(path("codes.txt")) +
                                                       QStringLiteral("\r\n没有写入权限"));
        QCOMPARE(folder(), before);
        QVERIFY(QFile::setPermissions(path("codes.txt"), QFile::ReadOwner | QFile::WriteOwner));
    }

    void existingFileKeepsItsIdentity_data()
    {
        QTest::addColumn<int>("attributes");
        QTest::addColumn<bool>("secondName");
        QTest::newRow("hidden") << int(FILE_ATTRIBUTE_HIDDEN) << false;
        QTest::newRow("system") << int(FILE_ATTRIBUTE_SYSTEM) << false;
        QTest::newRow("a second hard link") << 0 << true;
        QTest::newRow("hidden, two names") << int(FILE_ATTRIBUTE_HIDDEN) << true;
    }
    void existingFileKeepsItsIdentity()
    {
        QFETCH(int, attributes);
        QFETCH(bool, secondName);
        const QString file = path("codes.txt");
        const auto native = [](const QString &name) {
            return QDir::toNativeSeparators(name).toStdWString();
        };
        QVERIFY(write(file, "an older and much longer text\r\n"));
        if (secondName)
            QVERIFY(
                CreateHardLinkW(native(path("other.txt")).c_str(), native(file).c_str(), nullptr));
        if (attributes != 0)
            QVERIFY(SetFileAttributesW(native(file).c_str(), DWORD(attributes)));

        save(QStringLiteral("/wx"), file);
        QCOMPARE(platform->calls, QStringList{"saveFileName"});
        QCOMPARE(contents(file), QByteArray("/wx\r\n"));
        if (secondName)
            QCOMPARE(contents(path("other.txt")), QByteArray("/wx\r\n"));
        const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        QCOMPARE(int(GetFileAttributesW(native(file).c_str()) & kept), attributes);
        QCOMPARE(folder().size(), secondName ? 2 : 1);
    }

    // Folders that take no new file: one its user may not add to (mode 555 for an
    // ordinary user; Wine lets root add files anywhere), and a full disk. The files there
    // are written in place, after a backup in %LOCALAPPDATA%\mirthkey; with nowhere to
    // keep a backup the save is refused. tests/windows/wine_user_save.sh makes the folders
    // and names them in MIRTHKEY_CLOSED_FOLDER and MIRTHKEY_FULL_FOLDER.
    void folderTakingNoNewFile_data()
    {
        QTest::addColumn<QString>("folderVariable");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("length"); // of the new text
        QTest::addColumn<bool>("backupRoom");
        QTest::addColumn<QString>("reason"); // empty: saved
        const QString closed = QStringLiteral("MIRTHKEY_CLOSED_FOLDER");
        const QString full = QStringLiteral("MIRTHKEY_FULL_FOLDER");
        QTest::newRow("closed, a writable file") << closed << "codes.txt" << 3 << true << "";
        QTest::newRow("closed, a read-only file")
            << closed << "read-only.txt" << 3 << true << "没有写入权限";
        QTest::newRow("closed, nowhere to keep a backup")
            << closed << "codes.txt" << 3 << false
            << "无法先备份原有的内容，文件未改动（没有写入权限）";
        QTest::newRow("full, a longer text")
            << full << "codes.txt" << 200'000 << true << "磁盘空间不足";
        QTest::newRow("full, a shorter text") << full << "codes.txt" << 3 << true << "";
    }
    void folderTakingNoNewFile()
    {
        QFETCH(QString, folderVariable);
        QFETCH(QString, name);
        QFETCH(int, length);
        QFETCH(bool, backupRoom);
        QFETCH(QString, reason);
        const QString folder = qEnvironmentVariable(qPrintable(folderVariable));
        if (folder.isEmpty())
            QSKIP("needs such a folder: tests/windows/wine_user_save.sh");
        const QString file = QDir(folder).filePath(name);
        const QByteArray old = contents(file);
        const auto list = [&] {
            return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        };
        const QStringList names = list();
        const QString text = QStringLiteral("/wx").repeated(length / 3);
        const QString backups = qEnvironmentVariable("LOCALAPPDATA") + QStringLiteral("/mirthkey");

        const QByteArrayList variables{"LOCALAPPDATA", "TEMP", "TMP"};
        QByteArrayList saved;
        for (const QByteArray &variable : variables) {
            saved << qgetenv(variable.constData());
            if (!backupRoom)
                qputenv(variable.constData(), QDir::toNativeSeparators(folder).toLocal8Bit());
        }
        save(text, file);
        for (qsizetype i = 0; i < variables.size(); ++i)
            qputenv(variables[i].constData(), saved[i]);

        QCOMPARE(list(), names); // no temporary or backup left beside it
        QVERIFY(QDir(backups).entryList(QDir::Files | QDir::Hidden).isEmpty());
        if (reason.isEmpty()) {
            QCOMPARE(platform->calls, QStringList{"saveFileName"});
            QCOMPARE(contents(file), text.toLatin1() + "\r\n");
            QVERIFY(QDir(backups).exists()); // where the backup was kept
            return;
        }
        QCOMPARE(platform->calls, (QStringList{"saveFileName", "messageBox"}));
        QCOMPARE(platform->messageBoxes[0].prompt, QStringLiteral("文件保存失败！\r\n") +
                                                       QDir::toNativeSeparators(file) +
                                                       QStringLiteral("\r\n") + reason);
        QCOMPARE(contents(file), old);
    }

    void unwritablePathIsReported()
    {
        QVERIFY(write(path("plain.txt"), "keep me\r\n"));
        const auto before = folder();
        for (const QString &chosen : {path("missing/codes.txt"), path("plain.txt/codes.txt")}) {
            platform->calls.clear();
            platform->messageBoxes.clear();
            save(QStringLiteral("/wx"), chosen);
            QCOMPARE(platform->calls, (QStringList{"saveFileName", "messageBox"}));
            const auto &box = platform->messageBoxes.at(0);
            QVERIFY2(box.prompt.startsWith(QStringLiteral("文件保存失败！\r\n") +
                                           QDir::toNativeSeparators(chosen) +
                                           QStringLiteral("\r\n")),
                     qPrintable(box.prompt));
            QCOMPARE(box.icon, Icon::Critical);
            QCOMPARE(box.caption, QStringLiteral("错误提示"));
            QCOMPARE(folder(), before);
        }
    }
};

QTEST_MAIN(TestSaveWindows)
#include "tst_save_windows.moc"
