// SPDX-License-Identifier: GPL-3.0-or-later
// The decorations in the window: the first typed character and the red author before
// the first tick, the links opening their targets through the real platform, and the
// hover highlight that only the bare window surface resets.
#include "Colors.h"
#include "MainWindow.h"
#include "ProgramFont.h"
#include "QtPlatform.h"
#include "ScriptedPlatform.h"
#include "TypewriterLabel.h"

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

class TestWindowDecor : public QObject {
    Q_OBJECT

    static QLabel *label(QWidget &form, const char *name) { return form.findChild<QLabel *>(name); }
    static bool highlighted(QLabel *l)
    {
        return foreColor(*l) == ColorValue::Red && l->font().underline();
    }
    static bool normal(QLabel *l)
    {
        return foreColor(*l) == ColorValue::Blue && !l->font().underline();
    }

private slots:
    void initTestCase() { installProgramFont(); }

    void decorationsRunFromTheStart()
    {
        test::ScriptedPlatform platform;
        MainWindow form(platform);
        auto *typewriter = form.findChild<TypewriterLabel *>("Label1");
        QLabel *author = label(form, "Label3");
        QCOMPARE(typewriter->text(), QStringLiteral("程|"));
        QCOMPARE(foreColor(*author), ColorValue::Red);
        QTRY_COMPARE_WITH_TIMEOUT(typewriter->text(), QStringLiteral("程序|"), 2000);
        QTRY_COMPARE_WITH_TIMEOUT(foreColor(*author), ColorValue::Blue, 2000);
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
        MainWindow form(platform);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QLabel *link = form.findChild<QLabel *>(name);
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(catcher.opened, QList<QUrl>{target});
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        form.hide();
    }

    void hoverHighlightsUntilTheBareSurface()
    {
        test::ScriptedPlatform platform;
        MainWindow form(platform);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QLabel *mail = label(form, "Label7");
        QLabel *web = label(form, "Label10");
        auto moveTo = [&](QWidget *w, QPoint at) {
            QTest::mouseMove(form.windowHandle(), w->mapTo(&form, at));
        };
        QVERIFY(normal(mail) && normal(web));

        moveTo(web, {3, 3});
        QVERIFY(highlighted(web));
        QVERIFY(normal(mail));

        // Straight onto the other link: both stay highlighted.
        moveTo(mail, {3, 3});
        QVERIFY(highlighted(mail) && highlighted(web));

        // Over other controls nothing changes.
        moveTo(label(form, "Label9"), {2, 2});
        moveTo(form.findChild<QWidget *>("Text1"), {10, 10});
        moveTo(form.findChild<QWidget *>("Command15"), {5, 5});
        QVERIFY(highlighted(mail) && highlighted(web));

        // The bare window surface: both back to normal.
        moveTo(&form, {400, 300});
        QVERIFY(!form.childAt(400, 300));
        QVERIFY(normal(mail) && normal(web));
        QCOMPARE(platform.openedUrls.size(), 0);
    }
};

QTEST_MAIN(TestWindowDecor)
#include "tst_window_decor.moc"
