// SPDX-License-Identifier: GPL-3.0-or-later
// The blinking label: red turns blue, every other colour turns red, on each tick; bold, it
// stays legible in the program's 12 px font, and the drawings it keeps follow every change.
#include "BlinkingLabel.h"
#include "ProgramFont.h"

#include <QScreen>
#include <QtTest>
#include <functional>

using namespace mirthkey;

using Change = std::function<void(BlinkingLabel &)>;
Q_DECLARE_METATYPE(Change)

class TestBlinkingLabel : public QObject {
    Q_OBJECT

    // A label drawn on the window colour: for each row, where its strokes (runs of ink) start
    // and how many there are, and for each 12 px character cell, how much ink it holds.
    struct Ink {
        QList<int> strokes;
        QList<int> perCell;
    };
    static Ink inkOf(QLabel &label)
    {
        label.setAutoFillBackground(true);
        setColor(label, QPalette::Window, ColorValue::Window);
        label.adjustSize();
        const QImage image = label.grab().toImage();
        Ink ink{QList<int>(image.height()), QList<int>((image.width() + 11) / 12)};
        for (int y = 0; y < image.height(); ++y) {
            bool before = false;
            for (int x = 0; x < image.width(); ++x) {
                const bool set = image.pixelColor(x, y) != toQColor(ColorValue::Window);
                ink.strokes[y] += set && !before;
                ink.perCell[x / 12] += set;
                before = set;
            }
        }
        return ink;
    }

private slots:
    void initTestCase() { installProgramFont(); }

    void boldNameIsLegible_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<ColorValue>("color");
        QTest::newRow("red") << QStringLiteral("乐键小匠") << ColorValue::Red;
        QTest::newRow("blue") << QStringLiteral("乐键小匠") << ColorValue::Blue;
        QTest::newRow("dense strokes") << QStringLiteral("镰谶鬻") << ColorValue::Red;
    }
    void boldNameIsLegible()
    {
        QFETCH(QString, name);
        QFETCH(ColorValue, color);
        QLabel regular(name);
        setForeColor(regular, color);
        const Ink thin = inkOf(regular);

        BlinkingLabel bold(name);
        QFont font = bold.font();
        font.setBold(true);
        bold.setFont(font);
        setForeColor(bold, color);
        const Ink heavy = inkOf(bold);

        QVERIFY(bold.font().bold());
        QCOMPARE(bold.size(), QSize(12 * int(name.size()), 12));
        // Strokes grow, but no two of them run together into a blob.
        QCOMPARE(heavy.strokes, thin.strokes);
        for (qsizetype cell = 0; cell < name.size(); ++cell) {
            QVERIFY2(heavy.perCell[cell] > thin.perCell[cell] &&
                         heavy.perCell[cell] <= 2 * thin.perCell[cell],
                     qPrintable(QStringLiteral("cell %1: %2 against %3")
                                    .arg(cell)
                                    .arg(heavy.perCell[cell])
                                    .arg(thin.perCell[cell])));
        }
    }

    void stepAlternatesFromRed_data()
    {
        QTest::addColumn<ColorValue>("before");
        QTest::addColumn<ColorValue>("after");
        QTest::newRow("red") << ColorValue::Red << ColorValue::Blue;
        QTest::newRow("blue") << ColorValue::Blue << ColorValue::Red;
        QTest::newRow("green") << colorValue(0, 255, 0) << ColorValue::Red;
        QTest::newRow("black") << colorValue(0, 0, 0) << ColorValue::Red;
    }
    void stepAlternatesFromRed()
    {
        QFETCH(ColorValue, before);
        QFETCH(ColorValue, after);
        BlinkingLabel label(QStringLiteral("乐键小匠"));
        setForeColor(label, before);
        label.step();
        QCOMPARE(foreColor(label), after);
    }

    void drawingFollowsEveryChange_data()
    {
        QTest::addColumn<Change>("change");
        QTest::newRow("blue") << Change([](BlinkingLabel &l) { l.step(); });
        QTest::newRow("red again") << Change([](BlinkingLabel &l) { l.step(), l.step(); });
        QTest::newRow("other name") << Change([](BlinkingLabel &l) { l.setText("镰谶鬻"); });
        QTest::newRow("larger font") << Change([](BlinkingLabel &l) {
            QFont larger = l.font();
            larger.setPixelSize(16);
            l.setFont(larger);
        });
        QTest::newRow("disabled") << Change([](BlinkingLabel &l) { l.setEnabled(false); });
        QTest::newRow("wider") << Change([](BlinkingLabel &l) { l.resize(l.width() + 12, 12); });
        QTest::newRow("green") << Change(
            [](BlinkingLabel &l) { setForeColor(l, colorValue(0, 128, 0)); });
        QTest::newRow("on its background")
            << Change([](BlinkingLabel &l) { l.setAutoFillBackground(true); });
        QTest::newRow("on another background") << Change([](BlinkingLabel &l) {
            l.setAutoFillBackground(true);
            setColor(l, QPalette::Window, ColorValue::White);
        });
        QTest::newRow("regular on its background") << Change([](BlinkingLabel &l) {
            l.setAutoFillBackground(true);
            QFont regular = l.font();
            regular.setBold(false);
            l.setFont(regular);
        });
    }
    void drawingFollowsEveryChange()
    {
        // The label keeps the drawings of the looks it shows in turn. Whatever changes, it
        // shows what a label made in that state shows.
        QFETCH(Change, change);
        BlinkingLabel used(QStringLiteral("乐键小匠"));
        used.adjustSize();
        for (int look = 0; look < 3; ++look) { // red, blue, red: both looks drawn once
            QVERIFY(!used.grab().isNull());
            used.step();
        }
        used.step(); // red again
        change(used);
        BlinkingLabel fresh(QStringLiteral("乐键小匠"));
        fresh.adjustSize();
        change(fresh);
        QCOMPARE(foreColor(used), foreColor(fresh));
        QCOMPARE(used.grab().toImage(), fresh.grab().toImage());
    }

    void onScreenItsBackgroundFollowsTheLabel()
    {
        // A label on a background of its own fills it itself: it is there on the screen after
        // the label's colours, or its font, change.
        QWidget window;
        window.setFixedSize(100, 40);
        auto *label = new BlinkingLabel(QStringLiteral("乐键小匠"), &window);
        label->clock().stop(); // stepped here alone
        label->setAutoFillBackground(true);
        setColor(*label, QPalette::Window, ColorValue::White);
        label->adjustSize();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto cornerOnScreen = [&] {
            QCoreApplication::processEvents();
            return colorValue(
                window.screen()->grabWindow(window.winId()).toImage().pixelColor(0, 0));
        };
        QCOMPARE(cornerOnScreen(), ColorValue::White);
        setColor(*label, QPalette::Window, ColorValue::Window);
        QCOMPARE(cornerOnScreen(), ColorValue::Window);
        QFont regular = label->font();
        regular.setBold(false);
        label->setFont(regular);
        setColor(*label, QPalette::Window, ColorValue::White);
        QCOMPARE(cornerOnScreen(), ColorValue::White);
    }

    void redAndBoldBlinkingFromTheStart()
    {
        BlinkingLabel label(QStringLiteral("乐键小匠"));
        QCOMPARE(foreColor(label), ColorValue::Red);
        QVERIFY(label.font().bold());
        const auto *timer = label.findChild<QTimer *>(QStringLiteral("Timer2"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 200);
        QVERIFY(timer->isActive());
        QTRY_COMPARE_WITH_TIMEOUT(foreColor(label), ColorValue::Blue, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(foreColor(label), ColorValue::Red, 2000);
    }

    void redAndBoldAgainOnRequest()
    {
        BlinkingLabel label(QStringLiteral("乐键小匠"));
        label.step(); // blue
        QFont regular = label.font();
        regular.setBold(false);
        label.setFont(regular);
        label.setRedAndBold();
        QCOMPARE(foreColor(label), ColorValue::Red);
        QVERIFY(label.font().bold());
    }
};

QTEST_MAIN(TestBlinkingLabel)
#include "tst_blinking_label.moc"
