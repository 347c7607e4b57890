// SPDX-License-Identifier: GPL-3.0-or-later
// Return on a focused button clicks it once, however long it is held, and a press that
// comes marked as a repeat of a press the button never saw is a press of its own.
#include "PushButton.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QtTest>

using namespace mirthkey;

class TestPushButton : public QObject {
    Q_OBJECT

private slots:
    void returnClicksOncePerPress_data()
    {
        // The keys as they come: P press, R press marked as a repeat, u release marked as
        // a repeat (X11 sends one before each repeated press), U release, F the focus
        // goes elsewhere (a message box the click opened).
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("clicks");
        QTest::newRow("pressed") << "PU" << 1;
        QTest::newRow("pressed twice") << "PUPU" << 2;
        QTest::newRow("held, repeats as on X11") << "PuRuRuRU" << 1;
        QTest::newRow("held, repeats as on Windows") << "PRRRU" << 1;
        QTest::newRow("first press marked as a repeat") << "RU" << 1;
        QTest::newRow("first press marked as a repeat, then held") << "RRRU" << 1;
        QTest::newRow("release taken by a message box") << "PFRU" << 2;
        QTest::newRow("release taken by a message box, then held") << "PFRRRU" << 2;
    }
    void returnClicksOncePerPress()
    {
        QFETCH(QString, keys);
        QFETCH(int, clicks);
        for (const auto &[key, modifiers] : {std::pair(Qt::Key_Return, Qt::NoModifier),
                                             std::pair(Qt::Key_Enter, Qt::KeypadModifier)}) {
            PushButton button(QStringLiteral("帮助(&H)"));
            int clicked = 0;
            connect(&button, &QPushButton::clicked, [&clicked] { ++clicked; });
            for (const QChar step : keys) {
                if (step == u'F') {
                    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
                    QCoreApplication::sendEvent(&button, &out);
                    continue;
                }
                const bool press = step == u'P' || step == u'R';
                const bool repeat = step == u'R' || step == u'u';
                QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers,
                                QStringLiteral("\r"), repeat);
                QCoreApplication::sendEvent(&button, &event);
                if (press)
                    QVERIFY(event.isAccepted()); // not passed on to the window
            }
            QCOMPARE(clicked, clicks);
        }
    }
};

QTEST_MAIN(TestPushButton)
#include "tst_push_button.moc"
