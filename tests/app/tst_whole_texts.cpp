// SPDX-License-Identifier: GPL-3.0-or-later
// Texts at the edges — 10 MB, emoji only, every kind of line break — go through
// insertion, copy, save, help and clear without losing a character.
#include "Application.h"
#include "CompositionBox.h"
#include "MainWindow.h"
#include "ProgramFont.h"
#include "TextFiles.h"
#include "WindowTest.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace mirthkey;

namespace {

QString tenMegabytes()
{
    const QString line = QStringLiteral("/wx/se/ka 今天很开心 😀 /fendou\r\n");
    QString text;
    constexpr qsizetype kUnits = qsizetype(5) * 1024 * 1024; // UTF-16: 10 MB
    text.reserve(kUnits + line.size());
    while (text.size() < kUnits)
        text += line;
    return text;
}

QString withLineFeeds(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

class TestWholeTexts : public test::WindowTest {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase() { installProgramFont(); }
    void init() { QVERIFY(openWindow(false)); }
    void cleanup() { closeWindow(); }

    void everyCommandKeepsEveryCharacter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored"); // what the box gives back
        QTest::newRow("10 MB") << tenMegabytes() << QString();
        const QString emoji = u"😀😁🙂🙃😍🤐🫤👍🇨🇳👨‍👩‍👧"_qs;
        QTest::newRow("emoji only") << emoji << emoji;
        // CR, LF, CR LF and the line and paragraph separators (U+2028, U+2029) are line
        // breaks of the box and come back as CR LF; NEL, VT and FF are characters and come
        // back as they were.
        QTest::newRow("every line break") << u"a\r\nb\nc\rd\u2028e\u2029f\u0085g\vh\fi\r\n"_qs
                                          << u"a\r\nb\r\nc\r\nd\r\ne\r\nf\u0085g\vh\fi\r\n"_qs;
    }

    void everyCommandKeepsEveryCharacter()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        if (stored.isNull())
            stored = text;
        box().setText(text);
        QCOMPARE(box().textLength(), stored.size());
        QCOMPARE(box().text(), stored);

        // Insertion in the middle, between two whole characters.
        qsizetype middle = stored.size() / 2;
        if (stored[middle].isLowSurrogate() || (middle > 0 && stored[middle - 1] == u'\r'))
            ++middle;
        box().setSelectionStart(int(middle));
        emoticonButton(15)->click();
        const QString inserted = stored.left(middle) + QStringLiteral("/wx") + stored.mid(middle);
        QCOMPARE(box().textLength(), inserted.size());
        QVERIFY(box().text() == inserted);

        // Copy: the whole text, line breaks as the platform writes them.
        copyButton()->click();
        QVERIFY(platform->clipboard == withLineFeeds(inserted));
        QCOMPARE(box().selectionLength(), inserted.size());

        // Save: the whole text and a final line break, back again through GB18030.
        const QString path = dir.filePath(QStringLiteral("whole.txt"));
        platform->fileNames << path;
        saveButton()->click();
        QVERIFY(test::fromGb18030(test::contents(path)) == inserted + QStringLiteral("\r\n"));

        // Help replaces it all; clear empties the box.
        helpButton()->click();
        QVERIFY(box().text().startsWith(QStringLiteral("简单帮助：\r\n\r\n")));
        platform->answers = {Answer::Yes};
        clearButton()->click();
        QCOMPARE(box().textLength(), 0);
        QCOMPARE(platform->calls.count(QStringLiteral("messageBox")),
                 2); // the notice, the question
    }
};

QTEST_MAIN(TestWholeTexts)
#include "tst_whole_texts.moc"
