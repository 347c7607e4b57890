// SPDX-License-Identifier: GPL-3.0-or-later
// The base of the save tests (tst_save.cpp, and the cases only one system has in
// tst_save_windows.cpp, tst_save_posix.cpp): the window with the scripted platform and a
// fresh folder for each test function.
#pragma once

#include "Files.h"
#include "WindowTest.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace mirthkey::test {

class SaveTest : public WindowTest {
protected:
    // For init() and cleanup().
    void openWindowAndFolder()
    {
        QVERIFY(openWindow());
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }
    void closeWindowAndFolder()
    {
        closeWindow();
        dir.reset();
    }

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

    std::unique_ptr<QTemporaryDir> dir;
};

} // namespace mirthkey::test
