// SPDX-License-Identifier: GPL-3.0-or-later
// The label that types the description out: its cycle of 71 steps, its size, that its own
// drawing looks exactly like a plain label's, and that repainting only what a step changed
// leaves the screen as a whole repaint would.
#include "Colors.h"
#include "ProgramFont.h"
#include "TypewriterLabel.h"

#include <QAccessible>
#include <QLabel>
#include <QScreen>
#include <QtTest>

using namespace mirthkey;

class TestTypewriterLabel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installProgramFont(); }

    void cycleHas71Steps()
    {
        const QString &text = TypewriterLabel::description();
        QCOMPARE(text.size(), 70);
        TypewriterLabel label(QStringLiteral("label1"));
        label.move(16, 336);
        QStringList captions;
        for (int i = 0; i < 73; ++i) {
            label.step();
            captions << label.text();
            QCOMPARE(label.pos(), QPoint(16, 336));
        }
        QCOMPARE(captions[0], QStringLiteral("程|"));
        QCOMPARE(captions[5], QStringLiteral("程序说明：\r|"));   // count 6: half a line break
        QCOMPARE(captions[6], QStringLiteral("程序说明：\r\n|")); // count 7: completed
        QVERIFY(captions[35].endsWith(QStringLiteral("。\r|")));  // count 36
        QCOMPARE(captions[69], text + u'|');                      // count 70: all of it
        QVERIFY(captions[69].endsWith(QStringLiteral("输入器。|")));
        QCOMPARE(captions[70], QStringLiteral("|")); // count 0: the bar alone
        QCOMPARE(captions[71], QStringLiteral("程|"));
        QCOMPARE(label.typedCount(), 2);
    }

    void growsAndShrinksWithItsCaption()
    {
        TypewriterLabel label(QStringLiteral("label1"));
        for (int i = 0; i < 70; ++i)
            label.step(); // the whole text: three lines
        QCOMPARE(label.height(), 36);
        QVERIFY(label.width() > 300 && label.width() < 392);
        label.step(); // the bar alone
        QCOMPARE(label.size(), QSize(6, 12));
    }

    void drawsLikeAPlainLabel()
    {
        // Every caption of the cycle, measured and drawn from the one layout, matches what
        // QLabel makes of it; a caption ending in half a line break differs only in the
        // width QLabel gives the lone CR.
        TypewriterLabel typed(QStringLiteral("label1"));
        QLabel plain;
        setForeColor(plain, foreColor(typed));
        typed.setAutoFillBackground(true);
        plain.setAutoFillBackground(true);
        for (int count = 0; count <= 70; ++count) {
            typed.step();
            plain.setText(typed.text());
            plain.adjustSize();
            if (typed.text().endsWith(QStringLiteral("\r|"))) {
                QCOMPARE(typed.height(), plain.height());
                continue;
            }
            QCOMPARE(typed.size(), plain.size());
            QCOMPARE(typed.grab().toImage(), plain.grab().toImage());
        }
        // Before its first step, the caption it was made with, measured as QLabel measures it.
        plain.setText(QStringLiteral("label1"));
        QCOMPARE(TypewriterLabel(QStringLiteral("label1")).sizeHint(), plain.sizeHint());
    }

    void screenShowsEveryStepAsAWholeRepaintWould()
    {
        // The label paints only the characters a repaint reaches, and keeps what it shows as
        // it grows: after every step of two cycles, the window on the screen holds exactly
        // what repainting all of it gives.
        QWidget window;
        window.setFixedSize(408, 100);
        window.setAutoFillBackground(true);
        setColor(window, QPalette::Window, ColorValue::Window);
        auto *label = new TypewriterLabel(QStringLiteral("label1"), &window);
        label->clock().stop(); // stepped here alone
        label->move(16, 36);
        label->step();
        label->adjustSize();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto screen = [&window] {
            QCoreApplication::processEvents();
            return window.screen()->grabWindow(window.winId()).toImage();
        };
        for (int step = 0; step < 2 * 71; ++step) {
            label->step();
            const QImage stepped = screen();
            window.repaint();
            const QImage whole = screen();
            QVERIFY(!whole.isNull());
            QVERIFY2(stepped == whole,
                     qPrintable(QStringLiteral("after \"%1\"").arg(label->text())));
        }
    }

    void accessibilityClientsReadTheCaption()
    {
        // Read as a label is: static text, named by what it shows.
        TypewriterLabel label(QStringLiteral("label1"));
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&label);
        QVERIFY(accessible);
        QCOMPARE(accessible->role(), QAccessible::StaticText);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("label1"));
        label.step();
        label.step();
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("程序|"));
        label.setAccessibleName(QStringLiteral("说明"));
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("说明"));
    }

    void typesInBlueOnEveryTickFromTheStart()
    {
        TypewriterLabel label(QStringLiteral("label1"));
        QCOMPARE(foreColor(label), ColorValue::Blue);
        const auto *timer = label.findChild<QTimer *>(QStringLiteral("Timer1"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 200);
        QVERIFY(timer->isActive());
        label.step();
        QTRY_COMPARE_WITH_TIMEOUT(label.text(), QStringLiteral("程序|"), 2000);
    }
};

QTEST_MAIN(TestTypewriterLabel)
#include "tst_typewriter_label.moc"
