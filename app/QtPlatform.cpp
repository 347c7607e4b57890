// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtPlatform.h"

#include "SymbolicLink.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace mirthkey {

namespace {

// A message box that, when it asks Yes or No, closes only through one of its two
// buttons: Escape and the title bar's close button would otherwise answer No.
class AnswerBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

    bool needsAnswer = false;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (needsAnswer && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent *event) override
    {
        if (needsAnswer) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

// Qt's Save As dialog asks before replacing a name only when it reaches a file; a
// symbolic link that points nowhere is a name in use too (under Wine a Unix one, which
// Wine shows as no file at all), and saving creates a file through it. It gets the same
// question, in Qt's words.
class SaveDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (files.size() == 1 && isDanglingLink(files[0]) &&
            QMessageBox::warning(
                this, windowTitle(),
                QCoreApplication::translate("QFileDialog",
                                            "%1 already exists.\nDo you want to replace it?")
                    .arg(QFileInfo(files[0]).fileName()),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
        QFileDialog::accept();
    }
};

QMessageBox::Icon qtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Answer QtPlatform::messageBox(QWidget *parent, const QString &prompt, Icon icon, Buttons buttons,
                              const QString &caption)
{
    AnswerBox box(qtIcon(icon), caption, prompt, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    if (buttons == Buttons::YesNo) {
        box.needsAnswer = true;
        QPushButton *yes = box.addButton(QMessageBox::Yes);
        box.addButton(QMessageBox::No);
        box.setDefaultButton(yes);
    } else {
        box.setDefaultButton(box.addButton(QMessageBox::Ok));
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

QString qtNameFilters(const QString &pairs)
{
    const QStringList items = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < items.size(); i += 2) {
        const QString &description = items[i];
        const QString &pattern = items[i + 1];
        if (description.endsWith(u'(' + pattern + u')'))
            filters << description;
        else
            filters << description + QStringLiteral(" (") + pattern + u')';
    }
    return filters.join(u'\n');
}

std::optional<QString> QtPlatform::saveFileName(QWidget *parent, const QString &title,
                                                const QString &filter)
{
    // Qt's own dialog: the same look everywhere, and it asks before replacing a file.
    SaveDialog dialog(parent, title, QString(), qtNameFilters(filter));
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void QtPlatform::beep()
{
    QApplication::beep();
}

void QtPlatform::openUrl(const QUrl &target)
{
    QDesktopServices::openUrl(target);
}

void QtPlatform::clearClipboard()
{
    QGuiApplication::clipboard()->clear();
}

void QtPlatform::setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

QDate QtPlatform::today()
{
    return QDate::currentDate();
}

} // namespace mirthkey
