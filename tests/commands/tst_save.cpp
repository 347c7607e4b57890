// SPDX-License-Identifier: GPL-3.0-or-later
// Save through the scripted platform into a fresh folder: the bytes of the file, the
// replacement of an old file, and paths that cannot be written.
#include "CompositionBox.h"
#include "Gb18030.h"
#include "Links.h"
#include "MainWindow.h"
#include "TextFiles.h"
#include "WindowTest.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace mirthkey;
using test::contents;
using test::fromGb18030;
using test::write;

class TestSave : public test::WindowTest {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir;

    QString path(const QString &name) const { return dir->filePath(name); }
    void save(const QString &text, const QString &chosen)
    {
        box().setText(text);
        platform->fileNames = QStringList{chosen};
        clickSave();
    }
    // Every name in the folder with its content, or a link with its target.
    QMap<QString, QByteArray> folder() const
    {
        QMap<QString, QByteArray> all;
        const auto filter = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        for (const QFileInfo &entry : QDir(dir->path()).entryInfoList(filter)) {
            all.insert(entry.fileName(), entry.isSymLink() ? "-> " + entry.symLinkTarget().toUtf8()
                                         : entry.isFile()  ? contents(entry.filePath())
                                                           : QByteArray("(not a file)"));
        }
        return all;
    }

private slots:
    void init()
    {
        QVERIFY(openWindow());
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }
    void cleanup()
    {
        closeWindow();
        dir.reset();
    }

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
#ifndef Q_OS_WIN
        QCOMPARE(QFileInfo(chosen).isSymLink(), throughLink);
        QCOMPARE(QFile::permissions(file) & 0x7077, permissions); // owner, group, others
#endif
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

#ifdef Q_OS_WIN
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
#else

    void unwritablePathIsReported_data()
    {
        // Written for a privileged user, whom permissions do not stop: each path fails
        // for another reason, given in Chinese whatever the locale.
        QTest::addColumn<QString>("chosen"); // %1 is the test's folder
        QTest::addColumn<QString>("reason");
        const QString notAFile = QStringLiteral("不是普通文件，不能替换");
        QTest::newRow("missing folder") << "%1/missing/codes.txt"
                                        << "找不到该文件或文件夹";
        QTest::newRow("a file as folder") << "%1/plain.txt/codes.txt"
                                          << "路径中的某一项不是文件夹";
        QTest::newRow("a folder") << "%1"
                                  << "这是一个文件夹，不能作为文件保存";
        QTest::newRow("/proc") << "/proc/codes.txt"
                               << "找不到该文件或文件夹";
        QTest::newRow("/dev/full") << "/dev/full" << notAFile;
        QTest::newRow("a link to /dev/full") << "%1/full.txt" << notAFile;
        QTest::newRow("a pipe") << "%1/pipe.txt" << notAFile;
    }
    void unwritablePathIsReported()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, reason);
        chosen.replace(QStringLiteral("%1"), dir->path());
        QVERIFY(write(path("plain.txt"), "keep me\r\n"));
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), path("full.txt")));
        QCOMPARE(mkfifo(QFile::encodeName(path("pipe.txt")).constData(), 0600), 0);
        const auto before = folder();
        struct stat device {};
        QCOMPARE(stat("/dev/full", &device), 0);

        save(QStringLiteral("/wx"), chosen);
        QCOMPARE(platform->calls, (QStringList{"saveFileName", "messageBox"}));
        const auto &box = platform->messageBoxes.at(0);
        const QStringList lines = box.prompt.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("文件保存失败！"));
        QCOMPARE(lines[1], QDir::toNativeSeparators(chosen));
        QCOMPARE(lines[2], reason);
        QCOMPARE(box.icon, Icon::Critical);
        QCOMPARE(box.buttons, Buttons::Ok);
        QCOMPARE(box.caption, QStringLiteral("错误提示"));
        QCOMPARE(QApplication::focusWidget(), &this->box());

        QCOMPARE(folder(), before);
        struct stat after {};
        QCOMPARE(stat("/dev/full", &after), 0);
        QVERIFY(S_ISCHR(after.st_mode));
        QCOMPARE(after.st_rdev, device.st_rdev);
        QCOMPARE(after.st_ino, device.st_ino);
    }

    void failedWriteKeepsTheOldFile()
    {
        // A file size limit stops the write half way, as a full disk would.
        QVERIFY(write(path("codes.txt"), "the old text\r\n"));
        const auto before = folder();
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        save(QStringLiteral("/wx/se/ka/fendou\r\n").repeated(10'000), path("codes.txt"));
        setrlimit(RLIMIT_FSIZE, &saved);

        QCOMPARE(platform->calls, (QStringList{"saveFileName", "messageBox"}));
        QCOMPARE(platform->messageBoxes[0].prompt, QStringLiteral("文件保存失败！\r\n") +
                                                       QDir::toNativeSeparators(path("codes.txt")) +
                                                       QStringLiteral("\r\n文件超过了允许的大小"));
        QCOMPARE(folder(), before);
    }
#endif

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
