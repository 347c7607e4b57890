// SPDX-License-Identifier: GPL-3.0-or-later
// The commands on a composition box of their own, with the platform scripted: copy,
// clear, help, history and about, and the refusals of an empty box. The window's buttons
// and what they are wired to are tested in tst_actions.
#include "BuildInfo.h"
#include "Commands.h"
#include "CompositionBox.h"
#include "ScriptedPlatform.h"

#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace mirthkey;

namespace {

// A command as the slot it runs: a renamed slot fails to compile, not at run time.
struct Command {
    void (Commands::*slot)();
};

QString history(const QString &date)
{
    return QStringLiteral("软件更新历史：\r\n\r\n2005年07月17日 软件的雏形诞生；\r\n\r\n") + date +
           QStringLiteral(" 软件己更新到 V%1.%2.%3版")
               .arg(build::kVersionMajor)
               .arg(build::kVersionMinor)
               .arg(build::kVersionBuild);
}

} // namespace

Q_DECLARE_METATYPE(Command)

class TestCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ScriptedPlatform> platform;
    std::unique_ptr<QWidget> window;
    CompositionBox *box = nullptr;
    QPushButton *other = nullptr; // holds the focus when a command starts, as its button does
    Commands *commands = nullptr;

    QWidget *focus() const { return window->focusWidget(); }
    void run(Command command) { (commands->*command.slot)(); }
    void select(int start, int length)
    {
        box->setSelectionStart(start);
        box->setSelectionLength(length);
    }
    void compareBox(const QString &prompt, Icon icon, Buttons buttons, const QString &caption)
    {
        QCOMPARE(platform->messageBoxes.size(), 1);
        QCOMPARE(platform->messageBoxes[0].prompt, prompt);
        QCOMPARE(platform->messageBoxes[0].icon, icon);
        QCOMPARE(platform->messageBoxes[0].buttons, buttons);
        QCOMPARE(platform->messageBoxes[0].caption, caption);
    }

private slots:
    void init()
    {
        platform = std::make_unique<test::ScriptedPlatform>();
        window = std::make_unique<QWidget>();
        box = new CompositionBox(window.get());
        other = new QPushButton(window.get());
        other->move(0, 100);
        commands = new Commands(*box, *platform, window.get());
        // Shown, but not necessarily active: the focus is followed by the window's own
        // focus widget, which does not wait for the window manager.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        other->setFocus();
        QCOMPARE(focus(), other);
    }
    void cleanup() { window.reset(); }

    void emptyBoxIsRefused_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("copy") << Command{&Commands::copy}
                              << QStringLiteral("只有生成表情代码后方可复制！");
        QTest::newRow("save") << Command{&Commands::save}
                              << QStringLiteral("只有生成表情代码后才能保存！");
    }
    void emptyBoxIsRefused()
    {
        QFETCH(Command, command);
        QFETCH(QString, prompt);
        run(command);
        QCOMPARE(platform->calls, QStringList{QStringLiteral("messageBox")});
        compareBox(prompt, Icon::Critical, Buttons::Ok, QStringLiteral("错误提示"));
        QVERIFY(!platform->clipboard);
        QCOMPARE(focus(), box);
    }

    void copyTakesTheWholeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<int>("length"); // in the box's units: CR LF counts 2
        QTest::newRow("codes") << "/wx/se/ka" << 9 << 0 << "/wx/se/ka" << 9;
        QTest::newRow("a space") << " " << 0 << 0 << " " << 1;
        QTest::newRow("a line break") << "\r\n" << 0 << 0 << "\n" << 2;
        QTest::newRow("lines, partly selected")
            << "/wx\r\n微笑\r\n/se" << 4 << 5 << "/wx\n微笑\n/se" << 12;
        QTest::newRow("emoji, partly selected")
            << "a\U0001F600/wx" << 3 << 2 << "a\U0001F600/wx" << 6;
    }
    void copyTakesTheWholeText()
    {
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, clipboard);
        QFETCH(int, length);
        box->setText(text);
        select(selStart, selLength);
        run({&Commands::copy});
        // Cleared first, so nothing of an earlier content in another format survives.
        QCOMPARE(platform->calls,
                 (QStringList{"clearClipboard", "setClipboardText", "messageBox"}));
        QCOMPARE(platform->clipboard, clipboard);
        compareBox(QStringLiteral("代码已复制到系统的剪贴板上，\r\n请粘贴到当前的QQ聊天窗口。"),
                   Icon::Information, Buttons::Ok, QStringLiteral("系统提示"));
        QCOMPARE(box->text(), text);
        QCOMPARE(box->selectionStart(), 0);
        QCOMPARE(box->selectionLength(), length);
        QCOMPARE(box->selectedText(), text);
        QCOMPARE(focus(), box);
    }

    void clearAsksFirst_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("yes") << "/wx\r\n/se" << Answer::Yes;
        QTest::newRow("no") << "/wx\r\n/se" << Answer::No;
        QTest::newRow("empty box, yes") << "" << Answer::Yes;
    }
    void clearAsksFirst()
    {
        QFETCH(QString, text);
        QFETCH(Answer, answer);
        box->setText(text);
        select(1, text.isEmpty() ? 0 : 5);
        const int selLength = box->selectionLength();
        platform->answers.push_back(answer);
        run({&Commands::clear});
        QCOMPARE(platform->calls, QStringList{QStringLiteral("messageBox")});
        compareBox(QStringLiteral("是否要清空已编辑好的表情代码？"), Icon::Exclamation,
                   Buttons::YesNo, QStringLiteral("系统提示"));
        const bool yes = answer == Answer::Yes;
        QCOMPARE(box->text(), yes ? QString() : text);
        QCOMPARE(box->selectionStart(), yes ? 0 : 1);
        QCOMPARE(box->selectionLength(), yes ? 0 : selLength);
        QCOMPARE(focus(), box);
    }

    void informationReplacesTheText_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("expected");
        QTest::newRow("help")
            << Command{&Commands::showHelp} << QDate(2007, 3, 5)
            << QStringLiteral("简单帮助：\r\n\r\n"
                              "根据实际需要，用鼠标直接在表情图上依次单击所需表情，程序自动帮你"
                              "采集这些表情并生成表情代码，而你只需要将生成的这些代码复制出来粘"
                              "贴到QQ的聊天窗口中发送即可。");
        QTest::newRow("history 2007-03-05") << Command{&Commands::showHistory} << QDate(2007, 3, 5)
                                            << history(QStringLiteral("2007年03月05日"));
        QTest::newRow("history 2026-12-08") << Command{&Commands::showHistory} << QDate(2026, 12, 8)
                                            << history(QStringLiteral("2026年12月08日"));
        QTest::newRow("history 2031-10-21")
            << Command{&Commands::showHistory} << QDate(2031, 10, 21)
            << history(QStringLiteral("2031年10月21日"));
    }
    void informationReplacesTheText()
    {
        QFETCH(Command, command);
        QFETCH(QDate, date);
        QFETCH(QString, expected);
        platform->date = date;
        box->setText(QStringLiteral("/se\r\n/ka"));
        select(2, 3);
        run(command);
        QCOMPARE(box->text(), expected);
        QCOMPARE(box->selectionStart(), 0);
        QCOMPARE(box->selectionLength(), 0);
        QVERIFY(platform->calls.isEmpty());
        QCOMPARE(focus(), other);
    }

    void aboutChangesNothing()
    {
        box->setText(QStringLiteral("/wx\r\n/se"));
        select(2, 4);
        run({&Commands::showAbout});
        QCOMPARE(box->text(), QStringLiteral("/wx\r\n/se"));
        QCOMPARE(box->selectionStart(), 2);
        QCOMPARE(box->selectionLength(), 4);
        QVERIFY(platform->calls.isEmpty());
        QCOMPARE(focus(), other);
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
