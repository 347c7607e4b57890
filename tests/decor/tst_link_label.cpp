// SPDX-License-Identifier: GPL-3.0-or-later
// A link label on its own: highlighted by a move over it, reset only when told, a click is
// a press and a release on the label, and the highlight's underline shows inside the label.
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

    // How many pixels of row `y` have the colour `value`.
    static int count(const QImage &image, int y, ColorValue value)
    {
        int n = 0;
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == toQColor(value);
        return n;
    }
private slots:
    void initTestCase() { installProgramFont(); }

    void highlightedFromTheFirstMoveUntilReset()
    {
        QWidget window;
        LinkLabel link(QStringLiteral("https://mirthkey.example"), &window);
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

    void underlineShowsInsideTheLabel_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::newRow("mail") << QStringLiteral("author@mirthkey.example");
        QTest::newRow("web") << QStringLiteral("https://mirthkey.example");
    }
    void underlineShowsInsideTheLabel()
    {
        QFETCH(QString, caption);
        LinkLabel link(caption);
        link.setAutoFillBackground(true);
        setColor(link, QPalette::Window, ColorValue::Window);
        link.adjustSize();
        const QSize size = link.size();
        QCOMPARE(size.height(), 12);
        const int last = size.height() - 1;

        const QImage plain = link.grab().toImage();
        QVERIFY(count(plain, 5, ColorValue::Blue) > 0);
        for (int y = 0; y < plain.height(); ++y)
            QVERIFY2(count(plain, y, ColorValue::Blue) < size.width(),
                     qPrintable(QString::number(y)));

        link.setHighlighted(true);
        QCOMPARE(link.size(), size);
        QImage hovered = link.grab().toImage();
        QCOMPARE(count(hovered, last, ColorValue::Red), size.width());
        // Above the underline the same text, in red where it was blue.
        for (int y = 0; y < last; ++y) {
            for (int x = 0; x < size.width(); ++x) {
                if (hovered.pixelColor(x, y) == toQColor(ColorValue::Red))
                    hovered.setPixelColor(x, y, toQColor(ColorValue::Blue));
            }
        }
        QCOMPARE(hovered.copy(0, 0, size.width(), last), plain.copy(0, 0, size.width(), last));

        link.setHighlighted(false);
        QCOMPARE(link.grab().toImage(), plain);
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
