// A link label on its own: highlighted by a move over it, reset only when told, and a
// click is a press and a release on the label.
#include "Colors.h"
#include "LinkLabel.h"
#include "ProgramFont.h"

#include <QSignalSpy>
#include <QtTest>

using namespace mirthkey;

class TestLinkLabel : public QObject {
    Q_OBJECT

    static bool normal(const LinkLabel &l)
    {
        return foreColor(l) == ColorValue::Blue && !l.font().underline();
    }

private slots:
    void initTestCase() { installProgramFont(); }

    void highlightedFromTheFirstMoveUntilReset()
    {
        QWidget window;
        LinkLabel link(QStringLiteral("https://mirthkey.example"), &window);
        setForeColor(link, ColorValue::Blue);
        link.adjustSize();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(normal(link));
        QCOMPARE(link.cursor().shape(), Qt::PointingHandCursor);

        QTest::mouseMove(window.windowHandle(), link.geometry().center());
        QVERIFY(link.isHighlighted());
        QCOMPARE(foreColor(link), ColorValue::Red);
        QTest::mouseMove(window.windowHandle(), link.geometry().center() + QPoint(3, 0));
        QVERIFY(link.isHighlighted());

        link.setHighlighted(false);
        QVERIFY(normal(link));
    }

    void underlineIsDrawnInsideTheLabel()
    {
        LinkLabel link(QStringLiteral("https://mirthkey.example"));
        link.setAutoFillBackground(true);
        setColor(link, QPalette::Window, ColorValue::Window);
        setForeColor(link, ColorValue::Blue);
        link.adjustSize();
        QCOMPARE(link.height(), 12);
        const auto lastRow = [&link](ColorValue color) {
            const QImage image = link.grab().toImage();
            int count = 0;
            for (int x = 0; x < image.width(); ++x)
                count += colorValue(image.pixelColor(x, image.height() - 1)) == color;
            return count;
        };
        QVERIFY(lastRow(ColorValue::Blue) < link.width() / 2);
        link.setHighlighted(true);
        QCOMPARE(link.height(), 12);
        QCOMPARE(lastRow(ColorValue::Red), link.width());
        link.setHighlighted(false);
        QCOMPARE(lastRow(ColorValue::Red), 0);
        QVERIFY(lastRow(ColorValue::Blue) < link.width() / 2);
    }

    void clickIsPressAndReleaseOnTheLabel_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<int>("activations");
        QTest::newRow("left click") << Qt::LeftButton << QPoint(5, 5) << 1;
        QTest::newRow("released off the label") << Qt::LeftButton << QPoint(5, 40) << 0;
        QTest::newRow("right click") << Qt::RightButton << QPoint(5, 5) << 0;
    }
    void clickIsPressAndReleaseOnTheLabel()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, releaseAt);
        QFETCH(int, activations);
        LinkLabel link(QStringLiteral("author@mirthkey.example"));
        const QUrl target(QStringLiteral("mailto:author@mirthkey.example"));
        link.setTarget(target);
        link.adjustSize();
        QSignalSpy activated(&link, &LinkLabel::activated);
        QTest::mousePress(&link, button, {}, QPoint(5, 5));
        QTest::mouseRelease(&link, button, {}, releaseAt);
        QCOMPARE(activated.size(), activations);
        if (activations)
            QCOMPARE(activated.at(0).at(0).toUrl(), target);
        // A release without its press is no click either.
        QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(activated.size(), activations);
    }
};

QTEST_MAIN(TestLinkLabel)
#include "tst_link_label.moc"
