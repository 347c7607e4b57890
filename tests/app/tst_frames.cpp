// SPDX-License-Identifier: GPL-3.0-or-later
// The three frames of the window as drawn: an etched border whose top line runs through the
// middle of the caption, the window colour inside, and a caption that the controls inside
// leave readable in full.
#include "Colors.h"
#include "ProgramFont.h"
#include "WindowTest.h"

#include <QGroupBox>
#include <QLabel>
#include <QtTest>

using namespace mirthkey;

namespace {

const QColor kWindow = toQColor(ColorValue::Window);
const QColor kDark(0x80, 0x80, 0x80);
const QColor kWhite(Qt::white);

} // namespace

class TestFrames : public test::WindowTest {
    Q_OBJECT

    QGroupBox *frame(const QString &name) const { return form->findChild<QGroupBox *>(name); }

    // The frame alone, without the controls inside it.
    static QImage bare(QGroupBox *frame)
    {
        QImage image(frame->size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        frame->render(&image, {}, {}, QWidget::DrawWindowBackground);
        return image;
    }

private slots:
    void initTestCase() { installProgramFont(); }
    void init() { QVERIFY(openWindow(false)); }
    void cleanup() { closeWindow(); }

    void frames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("palette") << "Frame1" << QStringLiteral("ＱＱ表情列表区");
        QTest::newRow("composition") << "Frame2" << QStringLiteral("表情代码生成区");
        QTest::newRow("actions") << "Frame4" << QStringLiteral("功能操作处");
    }

    void etchedBorderAroundTheWindowColour_data() { frames_data(); }
    void etchedBorderAroundTheWindowColour()
    {
        QFETCH(QString, name);
        QGroupBox *box = frame(name);
        QVERIFY(box);
        const QImage image = bare(box);
        const int w = image.width();
        const int h = image.height();

        QCOMPARE(image.pixelColor(w / 2, h / 2), kWindow);
        QCOMPARE(image.pixelColor(4, h - 4), kWindow);

        // Left, right and bottom: the dark line with the white one inside or below it.
        QCOMPARE(image.pixelColor(0, h / 2), kDark);
        QCOMPARE(image.pixelColor(1, h / 2), kWhite);
        QCOMPARE(image.pixelColor(w - 2, h / 2), kDark);
        QCOMPARE(image.pixelColor(w - 1, h / 2), kWhite);
        QCOMPARE(image.pixelColor(w / 2, h - 2), kDark);
        QCOMPARE(image.pixelColor(w / 2, h - 1), kWhite);

        // The top line, right of the caption, runs through the middle of the 12 px caption.
        const int x = w - 10;
        int top = 0;
        while (top < 12 && image.pixelColor(x, top) == kWindow)
            ++top;
        QVERIFY2(top == 5 || top == 6, qPrintable(QString::number(top)));
        QCOMPARE(image.pixelColor(x, top), kDark);
        QCOMPARE(image.pixelColor(x, top + 1), kWhite);
        for (int y = top + 2; y < 12; ++y)
            QCOMPARE(image.pixelColor(x, y), kWindow);
    }

    void captionReadableInFull_data() { frames_data(); }
    void captionReadableInFull()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QGroupBox *box = frame(name);
        QCOMPARE(box->title(), caption);
        const QImage shown = box->grab().toImage();

        // The caption drawn alone on the window colour must stand somewhere along the top of
        // the frame, with its controls in place, pixel for pixel: no row cut off, no line
        // through it.
        QLabel alone(caption);
        alone.setFont(box->font());
        alone.setAutoFillBackground(true);
        setColor(alone, QPalette::Window, ColorValue::Window);
        setForeColor(alone, colorValue(box->palette().color(QPalette::WindowText)));
        alone.adjustSize();
        QCOMPARE(alone.height(), 12);
        const QImage text = alone.grab().toImage().convertToFormat(shown.format());
        bool found = false;
        for (int x = 2; x <= 24 && !found; ++x)
            found = shown.copy(QRect(QPoint(x, 0), text.size())) == text;
        QVERIFY(found);
    }
};

QTEST_MAIN(TestFrames)
#include "tst_frames.moc"
