// SPDX-License-Identifier: GPL-3.0-or-later
// The real Qt objects behind the platform: the Yes/No box in Chinese that only its
// buttons close, the Save As dialog, and the clipboard while the copy's notice shows.
#include "Application.h"
#include "CompositionBox.h"
#include "Links.h"
#include "MainWindow.h"
#include "QtPlatform.h"

#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using namespace mirthkey;

namespace {

// Runs `answer` on the next modal window once it shows, from inside its exec().
void whenModal(const std::function<void(QWidget *)> &answer)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        answer(modal);
    });
    timer->start();
}

} // namespace

class TestQtDialogs : public QObject {
    Q_OBJECT
    QtPlatform platform;

private slots:
    void initTestCase() { installTranslations(*QCoreApplication::instance()); }

    void questionClosesOnlyThroughItsButtons_data()
    {
        QTest::addColumn<QString>("press"); // after Escape and a close request
        QTest::addColumn<Answer>("answer");
        QTest::newRow("Return") << "Return" << Answer::Yes;
        QTest::newRow("click Yes") << "是(&Y)" << Answer::Yes;
        QTest::newRow("click No") << "否(&N)" << Answer::No;
    }
    void questionClosesOnlyThroughItsButtons()
    {
        QFETCH(QString, press);
        QFETCH(Answer, answer);
        QStringList buttons;
        QString title;
        bool openAfterEscape = false;
        bool openAfterClose = false;
        whenModal([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            title = box->windowTitle();
            for (QAbstractButton *button : box->buttons())
                buttons << button->text();
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QCOMPARE(box->defaultButton()->text(), QStringLiteral("是(&Y)"));
            QTest::keyClick(box, Qt::Key_Escape);
            openAfterEscape = box->isVisible();
            box->close();
            openAfterClose = box->isVisible();
            if (press == QStringLiteral("Return")) {
                QTest::keyClick(box, Qt::Key_Return);
                return;
            }
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == press)
                    QTest::mouseClick(button, Qt::LeftButton);
            }
        });
        QCOMPARE(platform.messageBox(nullptr, QStringLiteral("是否要清空已编辑好的表情代码？"),
                                     Icon::Exclamation, Buttons::YesNo, QStringLiteral("系统提示")),
                 answer);
        QCOMPARE(title, QStringLiteral("系统提示"));
        QCOMPARE(buttons, (QStringList{"是(&Y)", "否(&N)"}));
        QVERIFY(openAfterEscape);
        QVERIFY(openAfterClose);
    }

    void saveDialog_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("a name typed, then Save") << true;
        QTest::newRow("cancel") << false;
    }
    void saveDialog()
    {
        QFETCH(bool, accept);
        QTemporaryDir dir;
        for (int round = 0; round < 2; ++round) {
            const QString chosen = dir.filePath(QStringLiteral("codes%1").arg(round));
            QString title;
            QStringList filters;
            QString nameBox = QStringLiteral("(not seen)");
            whenModal([&](QWidget *modal) {
                auto *dialog = qobject_cast<QFileDialog *>(modal);
                QVERIFY(dialog);
                title = dialog->windowTitle();
                filters = dialog->nameFilters();
                auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                QVERIFY(edit);
                nameBox = edit->text();
                if (!accept) {
                    dialog->reject();
                    return;
                }
                dialog->setDirectory(dir.path());
                edit->setText(QFileInfo(chosen).fileName());
                QMetaObject::invokeMethod(dialog, "accept");
            });
            const std::optional<QString> result = platform.saveFileName(
                nullptr, QStringLiteral("文件另存为"), QStringLiteral("文本文件(*.txt)|*.txt|"));
            QCOMPARE(title, QStringLiteral("文件另存为"));
            QCOMPARE(filters, QStringList{"文本文件(*.txt)"});
            QCOMPARE(nameBox, QString()); // empty every time
            QCOMPARE(result, accept ? std::optional<QString>(chosen) : std::nullopt);
        }
    }

    void replacingANameIsAsked_data()
    {
        QTest::addColumn<bool>("dangling"); // a link to nothing, or a file
        QTest::addColumn<bool>("replace");  // the answer
        QTest::newRow("a file, replaced") << false << true;
        QTest::newRow("a file, kept") << false << false;
        // Under Wine a Unix link, which Wine shows as no file at all.
        QTest::newRow("a link to nothing, replaced") << true << true;
        QTest::newRow("a link to nothing, kept") << true << false;
    }
    void replacingANameIsAsked()
    {
        QFETCH(bool, dangling);
        QFETCH(bool, replace);
        QTemporaryDir dir;
        const QString chosen = dir.filePath(QStringLiteral("codes.txt"));
        if (dangling && !test::makeSymbolicLink(QStringLiteral("missing.txt"), chosen))
            QSKIP("no symbolic links on this system");
        if (!dangling)
            QVERIFY(QFile(chosen).open(QIODevice::WriteOnly));
        QString question = QStringLiteral("(not asked)");
        bool stayedOpen = false;
        whenModal([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            dialog->setDirectory(dir.path());
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                ->setText(QStringLiteral("codes.txt"));
            whenModal([&](QWidget *box) {
                auto *asking = qobject_cast<QMessageBox *>(box);
                QVERIFY(asking);
                question = asking->text();
                QTest::mouseClick(asking->button(replace ? QMessageBox::Yes : QMessageBox::No),
                                  Qt::LeftButton);
            });
            QMetaObject::invokeMethod(dialog, "accept");
            stayedOpen = dialog->isVisible();
            if (stayedOpen)
                dialog->reject();
        });
        const std::optional<QString> result = platform.saveFileName(
            nullptr, QStringLiteral("文件另存为"), QStringLiteral("文本文件(*.txt)|*.txt|"));
        QCOMPARE(question,
                 QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to "
                                                            "replace it?")
                     .arg(QStringLiteral("codes.txt")));
        QCOMPARE(stayedOpen, !replace);
        QCOMPARE(result, replace ? std::optional(chosen) : std::nullopt);
    }

    void copyFillsTheClipboardBeforeTheNotice()
    {
        MainWindow form(platform);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto *earlier = new QMimeData;
        earlier->setHtml(QStringLiteral("<b>earlier</b>"));
        earlier->setImageData(QImage(4, 4, QImage::Format_RGB32));
        QGuiApplication::clipboard()->setMimeData(earlier);
        form.composition().setText(QStringLiteral("/wx\r\n微笑"));

        QString onClipboard;
        QStringList formats;
        int selected = -1;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        whenModal([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            icon = box->icon();
            onClipboard = QGuiApplication::clipboard()->text();
            formats = QGuiApplication::clipboard()->mimeData()->formats();
            selected = form.composition().selectionLength();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QTest::mouseClick(form.findChild<QPushButton *>("Command97"), Qt::LeftButton);
        QCOMPARE(icon, QMessageBox::Information);
        QCOMPARE(onClipboard, QStringLiteral("/wx\n微笑"));
        QCOMPARE(formats, QStringList{"text/plain"});
        QCOMPARE(selected, 7);
        QCOMPARE(form.focusWidget(), &form.composition()); // once the window is active again
    }

    // Under Wine a message box closes on Return's press and its release reaches no window,
    // so the next press of Return comes marked as a repeat. It still presses the button.
    void returnAfterABoxThatClosedOnItsPress_data()
    {
        QTest::addColumn<QList<int>>("moves"); // keys from the composition box to a button
        QTest::addColumn<QString>("shown");    // what that button writes into the box
        QTest::newRow("Tab to the first emoticon") << QList<int>{Qt::Key_Tab} << "/jy";
        QTest::newRow("Shift+Tab to help")
            << QList<int>{Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Backtab}
            << QStringLiteral("简单帮助：");
    }
    void returnAfterABoxThatClosedOnItsPress()
    {
        QFETCH(QList<int>, moves);
        QFETCH(QString, shown);
        MainWindow form(platform);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QString refusal;
        whenModal([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            refusal = box->text();
            QTest::keyPress(box, Qt::Key_Return); // the box closes; no release follows
        });
        form.findChild<QPushButton *>("Command97")->setFocus(); // copy, with nothing to copy
        QTest::keyPress(form.windowHandle(), Qt::Key_Return);
        QCOMPARE(refusal, QStringLiteral("只有生成表情代码后方可复制！"));
        form.activateWindow(); // as the desktop gives it back; offscreen does not
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(form.focusWidget(), &form.composition());

        for (const int key : moves)
            QTest::keyClick(form.windowHandle(), Qt::Key(key));
        QVERIFY(qobject_cast<QPushButton *>(form.focusWidget()));
        QKeyEvent marked(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                         true);
        QCoreApplication::sendEvent(form.windowHandle(), &marked);
        QVERIFY2(form.composition().text().startsWith(shown),
                 qPrintable(form.composition().text()));
    }
};

QTEST_MAIN(TestQtDialogs)
#include "tst_qt_dialogs.moc"
