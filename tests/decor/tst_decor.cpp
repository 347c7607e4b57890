// The typewriter, the blinking author label and the two link labels.
#include "Application.h"
#include "ForeColor.h"
#include "Form2.h"
#include "Links.h"
#include "QtPlatform.h"
#include "ScriptedPlatform.h"
#include "TypedLabel.h"
#include "Typewriter.h"

#include <QDesktopServices>
#include <QLabel>
#include <QtTest>

using namespace mirthkey;

// Catches what QDesktopServices would hand to a browser or a mail program.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

class TestDecor : public QObject {
    Q_OBJECT

    static QLabel *label(QWidget &form, const char *name) { return form.findChild<QLabel *>(name); }
    static bool highlighted(QLabel *l)
    {
        return foreColor(*l) == kRedValue && l->font().underline();
    }
    static bool normal(QLabel *l) { return foreColor(*l) == kBlueValue && !l->font().underline(); }

private slots:
    void initTestCase() { installProgramFont(); }

    void typewriterCycleHas71Steps()
    {
        QCOMPARE(kDescription.size(), 70);
        QLabel label1;
        label1.move(16, 336);
        int count = 0;
        QStringList captions;
        for (int i = 0; i < 73; ++i) {
            typewriterStep(label1, count);
            captions << label1.text();
            QCOMPARE(label1.pos(), QPoint(16, 336));
        }
        QCOMPARE(captions[0], QStringLiteral("程|"));
        QCOMPARE(captions[5], QStringLiteral("程序说明：\r|"));   // count 6: half a line break
        QCOMPARE(captions[6], QStringLiteral("程序说明：\r\n|")); // count 7: completed
        QVERIFY(captions[35].endsWith(QStringLiteral("。\r|")));  // count 36
        QCOMPARE(captions[69], kDescription + u'|');              // count 70: all of it
        QVERIFY(captions[69].endsWith(QStringLiteral("输入器。|")));
        QCOMPARE(captions[70], QStringLiteral("|")); // count 0: the bar alone
        QCOMPARE(captions[71], QStringLiteral("程|"));
        QCOMPARE(count, 2);
    }

    void typewriterLabelGrowsAndShrinks()
    {
        QLabel label1;
        int count = 69;
        typewriterStep(label1, count); // the whole text: three lines
        QCOMPARE(label1.height(), 36);
        QVERIFY(label1.width() > 300 && label1.width() < 392);
        typewriterStep(label1, count); // the bar alone
        QCOMPARE(label1.size(), QSize(6, 12));
    }

    void typedLabelLooksLikeAPlainLabel()
    {
        // Every caption of the cycle, measured and drawn from the one layout, matches what
        // QLabel makes of it; a caption ending in half a line break differs only in the
        // width QLabel gives the lone CR.
        TypedLabel typed(QString{});
        typed.setSourceText(kDescription);
        QLabel plain;
        for (const QLabel *l : {static_cast<QLabel *>(&typed), &plain})
            const_cast<QLabel *>(l)->setAutoFillBackground(true);
        for (int count = 0; count <= kDescription.size(); ++count) {
            const QString caption = kDescription.left(count) + u'|';
            typed.setText(caption);
            plain.setText(caption);
            typed.adjustSize();
            plain.adjustSize();
            if (caption.endsWith(QStringLiteral("\r|"))) {
                QCOMPARE(typed.height(), plain.height());
                continue;
            }
            QCOMPARE(typed.size(), plain.size());
            QCOMPARE(typed.grab().toImage(), plain.grab().toImage());
        }
        typed.setText(QStringLiteral("label1")); // any other caption: QLabel's own way
        plain.setText(QStringLiteral("label1"));
        QCOMPARE(typed.sizeHint(), plain.sizeHint());
    }

    void blinkAlternatesFromRed_data()
    {
        QTest::addColumn<quint32>("before");
        QTest::addColumn<quint32>("after");
        QTest::newRow("red") << quint32(kRedValue) << quint32(kBlueValue);
        QTest::newRow("blue") << quint32(kBlueValue) << quint32(kRedValue);
        QTest::newRow("green") << quint32(0x0000FF00) << quint32(kRedValue);
        QTest::newRow("black") << quint32(0) << quint32(kRedValue);
    }

    void blinkAlternatesFromRed()
    {
        QFETCH(quint32, before);
        QFETCH(quint32, after);
        QLabel label3;
        setForeColor(label3, before);
        blinkStep(label3);
        QCOMPARE(foreColor(label3), after);
    }

    void realTimersTick()
    {
        test::ScriptedPlatform platform;
        Form2 form(platform);
        QLabel *label1 = label(form, "Label1");
        QLabel *label3 = label(form, "Label3");
        QCOMPARE(label1->text(), QStringLiteral("程|"));
        QCOMPARE(foreColor(*label3), kRedValue);
        QTRY_COMPARE_WITH_TIMEOUT(label1->text(), QStringLiteral("程序|"), 2000);
        QTRY_COMPARE_WITH_TIMEOUT(foreColor(*label3), kBlueValue, 2000);
    }

    void clickOpensTheTargetOnce_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QUrl>("target");
        QTest::newRow("web") << "Label10" << QUrl(QStringLiteral("https://mirthkey.example"));
        QTest::newRow("mail") << "Label7" << QUrl(QStringLiteral("mailto:author@mirthkey.example"));
    }

    void clickOpensTheTargetOnce()
    {
        QFETCH(QString, name);
        QFETCH(QUrl, target);
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
        QtPlatform platform;
        Form2 form(platform);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QLabel *link = form.findChild<QLabel *>(name);
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(catcher.opened, QList<QUrl>{target});
        QCOMPARE(webTarget(), QUrl(QStringLiteral("https://mirthkey.example")));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        form.hide();
    }

    void hoverHighlightsUntilTheBareSurface()
    {
        test::ScriptedPlatform platform;
        Form2 form(platform);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QLabel *label7 = label(form, "Label7");
        QLabel *label10 = label(form, "Label10");
        auto moveTo = [&](QWidget *w, QPoint at) {
            QTest::mouseMove(form.windowHandle(), w->mapTo(&form, at));
        };
        QVERIFY(normal(label7) && normal(label10));

        moveTo(label10, {3, 3});
        QVERIFY(highlighted(label10));
        QVERIFY(normal(label7));

        // Straight onto the other link: both stay highlighted.
        moveTo(label7, {3, 3});
        QVERIFY(highlighted(label7) && highlighted(label10));

        // Over other controls nothing changes.
        moveTo(label(form, "Label9"), {2, 2});
        moveTo(form.findChild<QWidget *>("Text1"), {10, 10});
        moveTo(form.findChild<QWidget *>("Command15"), {5, 5});
        QVERIFY(highlighted(label7) && highlighted(label10));

        // The bare window surface: both back to normal.
        moveTo(&form, {400, 300});
        QVERIFY(!form.childAt(400, 300));
        QVERIFY(normal(label7) && normal(label10));
        QCOMPARE(platform.openedUrls.size(), 0);
    }
};

QTEST_MAIN(TestDecor)
#include "tst_decor.moc"
