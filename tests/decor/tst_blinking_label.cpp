// The blinking label: red turns blue, every other colour turns red, on each tick.
#include "BlinkingLabel.h"

#include <QtTest>

using namespace mirthkey;

class TestBlinkingLabel : public QObject {
    Q_OBJECT

private slots:
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

    void blinksOnEveryTickOnceStarted()
    {
        BlinkingLabel label(QStringLiteral("乐键小匠"));
        setForeColor(label, ColorValue::Red);
        QCOMPARE(label.timer().interval(), 200);
        label.start();
        QTRY_COMPARE_WITH_TIMEOUT(foreColor(label), ColorValue::Blue, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(foreColor(label), ColorValue::Red, 2000);
    }
};

QTEST_MAIN(TestBlinkingLabel)
#include "tst_blinking_label.moc"
