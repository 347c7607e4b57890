// SPDX-License-Identifier: GPL-3.0-or-later
// The window as it stands when created: every control against the layout table,
// fonts, colours, tab order and the first focus.
#include "Application.h"
#include "CompositionBox.h"
#include "Layout.h"
#include "MainWindow.h"
#include "ProgramFont.h"
#include "TypewriterLabel.h"
#include "WindowTest.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace mirthkey;

namespace {

// The labels whose text is not in the default black, and the one in bold.
ColorValue textColor(const QString &label)
{
    if (label == u"Label3")
        return ColorValue::Red;
    if (label == u"Label1" || label == u"Label7" || label == u"Label10")
        return ColorValue::Blue;
    return colorValue(Qt::black);
}
bool bold(const QString &control)
{
    return control == u"Label3";
}

// What a label shows; the typewriter draws its caption itself.
QString captionOf(QWidget *widget)
{
    if (auto *typewriter = qobject_cast<TypewriterLabel *>(widget))
        return typewriter->text();
    auto *label = qobject_cast<QLabel *>(widget);
    return label ? label->text() : QStringLiteral("(not a label)");
}

// Width of a caption in the program's font: 12 px per Chinese character, 6 per Latin one.
int captionWidth(const QString &caption)
{
    int width = 0;
    for (const QChar c : caption)
        width += c.unicode() < 0x2E80 ? 6 : 12;
    return width;
}

// The layout's entry for the control of that objectName.
Control layoutEntry(const QString &name)
{
    for (const Control &c : layoutTable()) {
        if (c.name == name)
            return c;
    }
    qFatal("no control named %s in the layout", qPrintable(name));
}

} // namespace

class TestWindow : public test::WindowTest {
    Q_OBJECT

private slots:
    void initTestCase() { installProgramFont(); }
    void init() { QVERIFY(openWindow(false)); }
    void cleanup() { closeWindow(); }

    void windowIsFixedWithoutMaximise()
    {
        QCOMPARE(form->objectName(), QStringLiteral("Form2"));
        QCOMPARE(form->size(), QSize(408, 465));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        const Qt::WindowFlags flags = form->windowFlags();
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QCOMPARE(colorValue(form->palette().color(QPalette::Window)), ColorValue::Window);
        QVERIFY(!form->windowIcon().isNull());
        QVERIFY(form->windowIcon().availableSizes().contains(QSize(32, 32)));
    }

    void controlsMatchTheLayoutTable_data()
    {
        QTest::addColumn<QString>("name");
        for (const Control &c : layoutTable())
            QTest::newRow(qPrintable(c.name)) << c.name;
    }

    void controlsMatchTheLayoutTable()
    {
        QFETCH(QString, name);
        const Control c = layoutEntry(name);
        auto *widget = form->findChild<QWidget *>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->parentWidget()->objectName(), c.parent);
        QVERIFY(!widget->isHidden());
        QVERIFY(widget->isEnabled());

        QFontInfo font(widget->font());
        QCOMPARE(font.family(), QStringLiteral("AR PL UMing CN"));
        QCOMPARE(font.pixelSize(), 12);
        QCOMPARE(font.bold(), bold(name));

        switch (c.kind) {
        case Kind::Label:
        case Kind::TypewriterLabel:
        case Kind::BlinkingLabel:
        case Kind::LinkLabel: {
            // Start-up has already typed the first character into Label1.
            const QString caption = name == u"Label1" ? QStringLiteral("程|") : c.caption;
            QCOMPARE(captionOf(widget), caption);
            QCOMPARE(widget->pos(), c.pixels().topLeft());
            QCOMPARE(widget->height(), 12);
            if (!bold(name))
                QCOMPARE(widget->width(), captionWidth(caption));
            QCOMPARE(widget->autoFillBackground(), c.backgroundColor.has_value());
            if (c.backgroundColor)
                QCOMPARE(colorValue(widget->palette().color(QPalette::Window)), *c.backgroundColor);
            QCOMPARE(colorValue(widget->palette().color(QPalette::WindowText)), textColor(name));
            break;
        }
        case Kind::Frame:
        case Kind::Palette: {
            auto *frame = qobject_cast<QGroupBox *>(widget);
            QVERIFY(frame);
            QCOMPARE(frame->title(), c.caption);
            QCOMPARE(frame->geometry(), c.pixels());
            QVERIFY(frame->autoFillBackground());
            QCOMPARE(colorValue(frame->palette().color(QPalette::Window)), ColorValue::Window);
            break;
        }
        case Kind::TextBox:
            QVERIFY(qobject_cast<CompositionBox *>(widget));
            QCOMPARE(widget->geometry(), c.pixels());
            QCOMPARE(widget->palette().color(QPalette::Base), QColor(Qt::white));
            QCOMPARE(qobject_cast<CompositionBox *>(widget)->textLength(), 0);
            break;
        case Kind::ActionButton: {
            auto *button = qobject_cast<QPushButton *>(widget);
            QVERIFY(button);
            QCOMPARE(button->geometry(), c.pixels());
            QCOMPARE(button->text(), c.caption);
            QVERIFY(button->icon().isNull());
            break;
        }
        case Kind::Image: {
            auto *image = qobject_cast<QLabel *>(widget);
            QVERIFY(image);
            QCOMPARE(image->geometry(), c.pixels());
            QCOMPARE(image->pixmap().size(), QSize(374, 64));
            break;
        }
        }
    }

    void timersTickEvery200Milliseconds()
    {
        for (const char *name : {"Timer1", "Timer2"}) {
            auto *timer = form->findChild<QTimer *>(name);
            QVERIFY2(timer, name);
            QCOMPARE(timer->interval(), 200);
            QVERIFY(timer->isActive());
        }
    }

    void designTimeCaptionsAndSizes()
    {
        // A few values as the window was drawn, independent of the table.
        auto label = [&](const char *name) { return form->findChild<QLabel *>(name); };
        QCOMPARE(label("Label2")->text(), QStringLiteral("作者："));
        QCOMPARE(label("Label2")->size(), QSize(36, 12));
        QCOMPARE(label("Label6")->size(), QSize(42, 12));
        QCOMPARE(label("Label9")->size(), QSize(48, 12));
        QCOMPARE(windowLayout().description.caption, QStringLiteral("label1"));
        QCOMPARE(form->findChild<QWidget *>("Label1")->geometry(), QRect(16, 336, 18, 12)); // "程|"
        QCOMPARE(label("Label3")->font().bold(), true);
        QCOMPARE(label("Label3")->text(), QStringLiteral("乐键小匠"));
        QCOMPARE(form->findChild<QGroupBox *>("Frame1")->title(), QStringLiteral("ＱＱ表情列表区"));
        QCOMPARE(form->findChild<QPushButton *>("Command101")->geometry(), QRect(240, 12, 76, 22));
        QCOMPARE(form->findChild<QWidget *>("Text1")->geometry(), QRect(4, 15, 379, 88));
        QCOMPARE(form->findChild<QPushButton *>("Command96")->geometry(), QRect(362, 132, 25, 25));
        QVERIFY(form->windowTitle().isEmpty());
        QCOMPARE(form->findChildren<QPushButton *>().size(), 102);
        // 8 labels and the banner; the typewriter, one of the labels, draws its own caption.
        QCOMPARE(form->findChildren<QLabel *>().size(), 8);
        QCOMPARE(form->findChildren<TypewriterLabel *>().size(), 1);
    }

    void tabWalksTextPaletteActionsAndBack()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QWidget *text1 = form->findChild<QWidget *>("Text1");
        QCOMPARE(QApplication::focusWidget(), text1);

        QStringList expected;
        for (int n = 1; n <= 102; ++n)
            expected << QStringLiteral("Command%1").arg(n);
        expected << QStringLiteral("Text1");
        QStringList walked;
        for (int i = 0; i < expected.size(); ++i) {
            QTest::keyClick(form->windowHandle(), Qt::Key_Tab);
            walked << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(walked, expected);
    }

    void typingGoesIntoTheCompositionBoxAtOnce()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("hi"));
        QTest::keyClick(form->windowHandle(), Qt::Key_Return);
        QTest::keyClick(form->windowHandle(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClick(form->windowHandle(), Qt::Key_A);
        QCOMPARE(form->composition().text(), QStringLiteral("hi\r\n\r\na"));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
