// SPDX-License-Identifier: GPL-3.0-or-later
// The three frames of the window as drawn: an etched border whose top line runs through the
// middle of the caption, the window colour inside, and a caption that the controls inside
// leave readable in full. And the composition box's own frame, whole at every scale.
#include "Colors.h"
#include "CompositionBox.h"
#include "ProgramFont.h"
#include "WindowTest.h"

#include <QGroupBox>
#include <QLabel>
#include <QtTest>
#include <optional>

using namespace mirthkey;

namespace {

const QColor kWindow = toQColor(ColorValue::Window);
const QColor kDark(0x80, 0x80, 0x80);
const QColor kWhite(Qt::white);

enum Side { Left, Top, Right, Bottom };

// The pixels across one side of a frame, read from outside in: where the first of the two
// lines starts and how many pixels thick each line is. Outside the first line there may be
// only the window colour or nothing drawn (black).
struct Profile {
    int start = -1;
    int first = 0;
    int second = 0;
    bool operator==(const Profile &) const = default;
};

QString toString(const Profile &p)
{
    return QStringLiteral("start %1, lines %2 + %3").arg(p.start).arg(p.first).arg(p.second);
}

Profile profile(const QImage &image, QPoint from, QPoint step, int count, const QColor &first,
                const QColor &second)
{
    const auto at = [&](int i) { return image.pixelColor(from + step * i); };
    Profile p;
    int i = 0;
    for (; i < count && at(i) != first; ++i) {
        if (at(i) != kWindow && at(i) != QColor(Qt::black))
            return p;
    }
    p.start = i;
    for (; i < count && at(i) == first; ++i)
        ++p.first;
    for (; i < count && at(i) == second; ++i)
        ++p.second;
    return p;
}

// Checks that `side` of the frame at `where` (in the window's pixels) in `image`, drawn at
// the image's device pixel ratio, has its dark and its white line, each continuous: every
// cut across the side, away from the corners and the caption, reads the same. On the left
// and the top the dark line is outside the white one, on the right and the bottom inside.
// With `controlsInside` a white control may follow the white line on the left or the top,
// so only that line's presence counts there.
QString brokenSide(const QImage &image, const QRect &where, Side side, bool controlsInside)
{
    const qreal s = image.devicePixelRatio();
    const int reach = 2 * qCeil(s) + 3;
    // Away from the corners, and on the top right of every caption.
    const int top = qCeil((where.top() + 14) * s);
    const int bottom = qFloor((where.bottom() - 4) * s);
    const int middle = where.left() + where.width() / 2;
    const int left = qCeil(middle * s);
    const int right = qFloor((where.right() - 4) * s);
    const int outerLeft = qFloor(where.left() * s) - 1;
    const int outerRight = qCeil((where.right() + 1) * s);
    const int outerTop = qFloor(where.top() * s);
    const int outerBottom = qCeil((where.bottom() + 1) * s);
    const bool vertical = side == Left || side == Right;
    const QColor first = side == Left || side == Top ? kDark : kWhite;
    const QColor second = first == kDark ? kWhite : kDark;
    std::optional<Profile> seen;
    for (int along = vertical ? top : left; along <= (vertical ? bottom : right); ++along) {
        QPoint from;
        QPoint step;
        switch (side) {
        case Left:
            from = {outerLeft, along}, step = {1, 0};
            break;
        case Right:
            from = {outerRight, along}, step = {-1, 0};
            break;
        case Top:
            from = {along, outerTop}, step = {0, 1};
            break;
        case Bottom:
            from = {along, outerBottom}, step = {0, -1};
            break;
        }
        Profile p = profile(image, from, step, side == Top ? qCeil(12 * s) : reach, first, second);
        if (controlsInside && second == kWhite)
            p.second = std::min(p.second, 1);
        if (p.start < 0 || p.first == 0 || p.second == 0)
            return QStringLiteral("no two lines at %1: %2").arg(along).arg(toString(p));
        if (seen && p != *seen)
            return QStringLiteral("at %1 %2, before %3")
                .arg(along)
                .arg(toString(p), toString(*seen));
        seen = p;
    }
    return {};
}

// The device pixels a widget at `where` (in the window's pixels) covers at `scale`: its
// edges rounded, as the screen clips each widget.
QRect devicePixels(const QRect &where, qreal scale)
{
    return QRect(
        QPoint(qRound(where.left() * scale), qRound(where.top() * scale)),
        QPoint(qRound((where.right() + 1) * scale) - 1, qRound((where.bottom() + 1) * scale) - 1));
}

// Checks the band of device pixels around the composition box at `box`, between its edge and
// its viewport and scroll bar at `inside`, on `side`: every cut across the side, away from the
// corners, reads the same from outside in, starts with a line (neither the window colour nor
// the black of pixels nothing drew), and has nothing undrawn in it.
QString brokenBoxSide(const QImage &image, const QRect &box, const QRect &inside, Side side)
{
    const qreal s = image.devicePixelRatio();
    const QRect outer = devicePixels(box, s);
    const QRect inner = devicePixels(inside, s);
    const int corner = 3 * qCeil(s);
    const bool vertical = side == Left || side == Right;
    const int first = (vertical ? outer.top() : outer.left()) + corner;
    const int last = (vertical ? outer.bottom() : outer.right()) - corner;
    QList<QColor> seen;
    QString seenRead;
    for (int along = first; along <= last; ++along) {
        QList<QColor> band;
        switch (side) {
        case Left:
            for (int x = outer.left(); x < inner.left(); ++x)
                band << image.pixelColor(x, along);
            break;
        case Right:
            for (int x = outer.right(); x > inner.right(); --x)
                band << image.pixelColor(x, along);
            break;
        case Top:
            for (int y = outer.top(); y < inner.top(); ++y)
                band << image.pixelColor(along, y);
            break;
        case Bottom:
            for (int y = outer.bottom(); y > inner.bottom(); --y)
                band << image.pixelColor(along, y);
            break;
        }
        QStringList names;
        for (const QColor &c : band)
            names << c.name();
        const QString read = names.join(u' ');
        if (band.isEmpty() || band.first() == kWindow || band.contains(QColor(Qt::black)))
            return QStringLiteral("at %1: %2").arg(along).arg(read);
        if (!seen.isEmpty() && band != seen)
            return QStringLiteral("at %1: %2, before it %3").arg(along).arg(read, seenRead);
        seen = band;
        seenRead = read;
    }
    return {};
}

} // namespace

class TestFrames : public test::WindowTest {
    Q_OBJECT

    QGroupBox *frame(const QString &name) const { return form->findChild<QGroupBox *>(name); }

    QString brokenBoxSides(const QImage &image) const
    {
        const CompositionBox &box = form->composition();
        const QRect where(box.mapTo(form.get(), QPoint()), box.size());
        const QRect inside = box.contentsRect().translated(where.topLeft());
        QString broken;
        for (const Side side : {Left, Top, Right, Bottom}) {
            const QString why = brokenBoxSide(image, where, inside, side);
            if (!why.isEmpty())
                broken += QStringLiteral("side %1 %2; ").arg(side).arg(why);
        }
        // Nothing undrawn in the empty box right of its caret, under the scroll bar included.
        const QRect rest = devicePixels(where.adjusted(40, 0, 0, 0), image.devicePixelRatio());
        for (int y = rest.top(); y <= rest.bottom(); ++y) {
            for (int x = rest.left(); x <= rest.right(); ++x) {
                if (image.pixelColor(x, y) == QColor(Qt::black))
                    return broken + QStringLiteral("undrawn at %1, %2").arg(x).arg(y);
            }
        }
        return broken;
    }

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

    // At every scale the lines fall on whole device pixels: the frame drawn alone keeps all
    // four sides, and in the window, with its controls, the sides the controls leave free.
    void etchedLinesAtEveryScale_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<bool>("alone");
        for (const char *name : {"Frame1", "Frame2", "Frame4"}) {
            for (const qreal scale : {1.0, 1.25, 1.5, 1.75, 2.0}) {
                for (const bool alone : {true, false}) {
                    QTest::addRow("%s %g %s", name, scale, alone ? "alone" : "in window")
                        << QString::fromLatin1(name) << scale << alone;
                }
            }
        }
    }
    void etchedLinesAtEveryScale()
    {
        QFETCH(QString, name);
        QFETCH(qreal, scale);
        QFETCH(bool, alone);
        QGroupBox *box = frame(name);
        QImage image(form->size() * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::black);
        if (alone)
            box->render(&image, box->pos(), {}, QWidget::DrawWindowBackground);
        else
            form->render(&image);
        // The palette's last column and row cover its frame's right and bottom dark line,
        // as they do at one pixel per pixel.
        const bool covered = !alone && name == QLatin1String("Frame1");
        for (const Side side : {Left, Top, Right, Bottom}) {
            if (covered && (side == Right || side == Bottom))
                continue;
            const QString broken = brokenSide(image, box->geometry(), side, !alone);
            QVERIFY2(broken.isEmpty(), qPrintable(QStringLiteral("side %1: ").arg(side) + broken));
        }
    }

    // The window as the screen shows it, at the screen's own scale (QT_SCALE_FACTOR).
    void etchedLinesOnScreen_data() { frames_data(); }
    void etchedLinesOnScreen()
    {
        QFETCH(QString, name);
        const QImage shown = form->grab().toImage();
        QCOMPARE(shown.devicePixelRatio(), qApp->devicePixelRatio());
        QGroupBox *box = frame(name);
        for (const Side side : {Left, Top, Right, Bottom}) {
            if (name == QLatin1String("Frame1") && (side == Right || side == Bottom))
                continue;
            const QString broken = brokenSide(shown, box->geometry(), side, true);
            QVERIFY2(broken.isEmpty(), qPrintable(QStringLiteral("side %1: ").arg(side) + broken));
        }
    }

    // The composition box's frame lies between its edge and its viewport and scroll bar, each
    // of which the screen puts on whole device pixels: at 125 % that band is 2 device pixels
    // wide on one side and 3 on another, and a frame drawn in the box's own pixels fell
    // between them, or under the scroll bar.
    void compositionBoxFrameAtEveryScale_data()
    {
        QTest::addColumn<qreal>("scale");
        for (const qreal scale : {1.0, 1.25, 1.5, 1.75, 2.0})
            QTest::addRow("%g", scale) << scale;
    }
    void compositionBoxFrameAtEveryScale()
    {
        QFETCH(qreal, scale);
        QImage image(form->size() * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::black);
        form->render(&image);
        const QString broken = brokenBoxSides(image);
        QVERIFY2(broken.isEmpty(), qPrintable(broken));
    }

    // The box as the screen shows it, at the screen's own scale (QT_SCALE_FACTOR).
    void compositionBoxFrameOnScreen()
    {
        const QImage shown = form->grab().toImage();
        const QString broken = brokenBoxSides(shown);
        QVERIFY2(broken.isEmpty(), qPrintable(broken));
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
