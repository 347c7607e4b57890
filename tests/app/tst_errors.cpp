// SPDX-License-Identifier: GPL-3.0-or-later
// An error that escapes any handler reaches the application object, which shows its
// number and description and ends the program.
#include "Application.h"
#include "QtPlatform.h"
#include "ScriptedPlatform.h"

#include <QClipboard>
#include <QMimeData>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace mirthkey;

namespace {
// What the failing handler throws.
using Thrower = std::function<void()>;

class Throwing : public QObject {
public:
    Thrower thrower;
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            thrower();
        return QObject::event(e);
    }
};
} // namespace

Q_DECLARE_METATYPE(Thrower)

class TestErrors : public QObject {
    Q_OBJECT

private slots:
    void escapedErrorsAreShownAndEndTheProgram_data()
    {
        QTest::addColumn<Thrower>("thrower");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("out of memory")
            << Thrower([] { throw std::bad_alloc(); }) << "运行时错误 '7':\r\n\r\n内存溢出";
        QTest::newRow("library error") << Thrower([] { throw std::out_of_range("bad index"); })
                                       << "运行时错误 '51':\r\n\r\n内部错误：bad index";
    }

    void escapedErrorsAreShownAndEndTheProgram()
    {
        QFETCH(Thrower, thrower);
        QFETCH(QString, prompt);
        test::ScriptedPlatform platform;
        static_cast<Application *>(qApp)->setPlatform(&platform);
        Throwing target;
        target.thrower = thrower;
        // The program's event loop ends with a failure status after the box.
        QTimer::singleShot(0, &target,
                           [&] { QCoreApplication::postEvent(&target, new QEvent(QEvent::User)); });
        const int status = QCoreApplication::exec();
        QCOMPARE(status, EXIT_FAILURE);
        QCOMPARE(platform.messageBoxes.size(), 1);
        QCOMPARE(platform.messageBoxes[0].prompt, prompt);
        QCOMPARE(platform.messageBoxes[0].icon, Icon::Critical);
        QCOMPARE(platform.messageBoxes[0].buttons, Buttons::Ok);
        QCOMPARE(platform.messageBoxes[0].caption, QStringLiteral("Mirthkey"));
        static_cast<Application *>(qApp)->setPlatform(nullptr);
    }

    void realClipboardIsClearedThenSet()
    {
        QtPlatform platform;
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        platform.clearClipboard();
        const QMimeData *cleared = QGuiApplication::clipboard()->mimeData();
        QVERIFY(!cleared || cleared->formats().isEmpty());
        platform.setClipboardText(QStringLiteral("/wx\n/se"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("/wx\n/se"));
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->formats(),
                 QStringList{QStringLiteral("text/plain")});
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestErrors test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_errors.moc"
