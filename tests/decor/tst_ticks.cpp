// SPDX-License-Identifier: GPL-3.0-or-later
// A tick of the two decorations side by side in one window, as in the program: it posts one
// repaint request for both labels, and a request to lay the window out again only when the
// typewriter changes its size, so that the program handles a tick in one go; the
// typewriter repaints only what changed, and what the tick changed is on the screen once
// the loop has run, as a whole repaint of the window shows it.
#include "BlinkingLabel.h"
#include "Colors.h"
#include "ProgramFont.h"
#include "TypewriterLabel.h"

#include <QScreen>
#include <QtTest>
#include <algorithm>
#include <functional>

using namespace mirthkey;

// Counts the requests to repaint and to lay out that reach any object, and the pixels the
// typewriter is asked to paint.
class RequestCounter final : public QObject {
public:
    explicit RequestCounter(QWidget *typewriter) : m_typewriter(typewriter) {}
    int repaints = 0;
    int layouts = 0;
    int typewriterPixels = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        repaints += event->type() == QEvent::UpdateRequest;
        layouts += event->type() == QEvent::LayoutRequest;
        if (watched == m_typewriter && event->type() == QEvent::Paint) {
            for (const QRect &r : static_cast<QPaintEvent *>(event)->region())
                typewriterPixels += r.width() * r.height();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_typewriter;
};

struct Window {
    QWidget window;
    TypewriterLabel *typewriter;
    BlinkingLabel *author;
};
using Tick = std::function<void(Window &)>;
Q_DECLARE_METATYPE(Tick)

class TestTicks : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installProgramFont(); }

    void tickPostsLittleAndShows_data()
    {
        QTest::addColumn<int>("typedBefore");
        QTest::addColumn<Tick>("tick");
        const Tick both = [](Window &w) { w.typewriter->step(), w.author->step(); };
        QTest::newRow("a character, the label grows") << 12 << both;
        QTest::newRow("a new line, the label grows higher") << 5 << both;
        QTest::newRow("a character on a shorter line") << 40 << both;
        QTest::newRow("the last character, the label grows") << 69 << both;
        QTest::newRow("the bar alone") << 70 << both;
        QTest::newRow("a character, the same size") << 41 << both;
        QTest::newRow("the author alone") << 20 << Tick([](Window &w) { w.author->step(); });
        QTest::newRow("the typewriter alone")
            << 20 << Tick([](Window &w) { w.typewriter->step(); });
    }
    void tickPostsLittleAndShows()
    {
        QFETCH(int, typedBefore);
        QFETCH(Tick, tick);
        Window w;
        w.window.setFixedSize(408, 120);
        w.window.setAutoFillBackground(true);
        setColor(w.window, QPalette::Window, ColorValue::Window);
        w.typewriter = new TypewriterLabel(QStringLiteral("label1"), &w.window);
        w.typewriter->move(16, 20);
        w.author = new BlinkingLabel(QStringLiteral("乐键小匠"), &w.window);
        w.author->setAutoFillBackground(true); // as in the window: on a background of its own
        setColor(*w.author, QPalette::Window, ColorValue::Window);
        w.author->move(61, 90);
        w.author->adjustSize();
        for (QTimer *clock : {&w.typewriter->clock(), &w.author->clock()})
            clock->stop(); // stepped here alone
        for (int i = 0; i < typedBefore; ++i)
            w.typewriter->step();
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QCoreApplication::processEvents();

        RequestCounter counter(w.typewriter);
        qApp->installEventFilter(&counter);
        const QSize sizeBefore = w.typewriter->size();
        tick(w);
        // Posted events only: the dispatcher is not entered.
        QCoreApplication::sendPostedEvents();
        qApp->removeEventFilter(&counter);
        QVERIFY2(counter.layouts <= (w.typewriter->size() == sizeBefore ? 0 : 1),
                 qPrintable(QString::number(counter.layouts)));
        QVERIFY2(counter.repaints <= 1, qPrintable(QString::number(counter.repaints)));
        // The typewriter repaints the character it adds and the bar, not its whole caption:
        // at most three character cells of 14 by 12 pixels (the old bar's, the character's
        // and the new bar's, a pixel wider each for antialiasing), and what it grew by.
        const auto area = [](QSize size) { return size.width() * size.height(); };
        const int grownBy = std::max(0, area(w.typewriter->size()) - area(sizeBefore));
        QVERIFY2(counter.typewriterPixels <= 3 * 14 * 12 + grownBy,
                 qPrintable(QString::number(counter.typewriterPixels)));

        const auto screen = [&w] {
            QCoreApplication::processEvents();
            return w.window.screen()->grabWindow(w.window.winId()).toImage();
        };
        const QImage ticked = screen();
        w.window.repaint();
        const QImage whole = screen();
        QVERIFY(!whole.isNull());
        QVERIFY2(ticked == whole, qPrintable(QStringLiteral("after \"%1\", %2")
                                                 .arg(w.typewriter->text())
                                                 .arg(int(foreColor(*w.author)))));
    }
};

QTEST_MAIN(TestTicks)
#include "tst_ticks.moc"
