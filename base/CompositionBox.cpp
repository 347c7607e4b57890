// SPDX-License-Identifier: GPL-3.0-or-later
#include "CompositionBox.h"

#include "DevicePixels.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>

namespace mirthkey {

namespace {
constexpr QChar kParagraphSeparator(0x2029);
// The editor draws it as a line break inside a paragraph, which the text would carry on as
// a character: the box shows a line break that the clipboard and the file would not get.
constexpr QChar kLineSeparator(0x2028);
// The longest line that keeps its glyphs between edits: they take about 35 bytes a
// character, so at most some 35 MB.
constexpr int kLineKeepingGlyphs = 1024 * 1024;
} // namespace

QString toEditorText(const QString &text)
{
    if (!text.contains(u'\r') && !text.contains(kLineSeparator))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            out += u'\n';
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == kLineSeparator) {
            out += u'\n';
        } else {
            out += c;
        }
    }
    return out;
}

CompositionBox::CompositionBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    // One line on every platform; the box draws it itself (paintFrame()).
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Windows' theme draws each part of a scroll bar from a buffer whose size in device
    // pixels is rounded apart from its place: at 125 % the lower arrow's buffer is a device
    // pixel shorter than the pixels it is drawn over, and the scroll bar's last row came out
    // black. The box's scroll bar is drawn with QPainter alone, as on Linux.
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        fusion->setParent(this);
        verticalScrollBar()->setStyle(fusion);
    }
    // An edit lays its whole line out again, and clicked codes make one long line. The
    // editor then drops the shaped glyphs, and goes through the whole line twice more: for
    // the caret's place after the edit and for the repaint. The line being edited keeps
    // them, unless it is so long that they would hold on to too much memory.
    connect(document(), &QTextDocument::contentsChange, this, [this](int from, int, int added) {
        // A whole new text counts the document's closing separator among the added.
        const int end = std::min(from + added, document()->characterCount() - 1);
        const QTextBlock line = document()->findBlock(end);
        line.layout()->setCacheEnabled(line.length() <= kLineKeepingGlyphs);
    });
}

QString CompositionBox::text() const
{
    QString raw = document()->toRawText();
    const qsizetype breaks = raw.count(kParagraphSeparator);
    if (breaks == 0)
        return raw;
    QString out(raw.size() + breaks, Qt::Uninitialized);
    QChar *to = out.data();
    for (const QChar c : raw) {
        if (c == kParagraphSeparator) {
            *to++ = u'\r';
            *to++ = u'\n';
        } else {
            *to++ = c;
        }
    }
    return out;
}

int CompositionBox::textLength() const
{
    return document()->characterCount() - 1 + document()->blockCount() - 1;
}

void CompositionBox::setText(const QString &text)
{
    setPlainText(toEditorText(text));
    QTextCursor cursor = textCursor();
    cursor.setPosition(0);
    setTextCursor(cursor);
}

QString CompositionBox::selectedText() const
{
    QString text = textCursor().selectedText();
    return text.replace(kParagraphSeparator, QStringLiteral("\r\n"));
}

void CompositionBox::replaceSelection(const QString &text)
{
    QTextCursor cursor = textCursor();
    cursor.insertText(toEditorText(text));
    setTextCursor(cursor);
}

void CompositionBox::insertCode(const QString &code)
{
    setFocus();
    replaceSelection(code);
}

int CompositionBox::toDesignPosition(int editorPosition) const
{
    return editorPosition + document()->findBlock(editorPosition).blockNumber();
}

int CompositionBox::toEditorPosition(int designPosition) const
{
    if (designPosition <= 0)
        return 0;
    const QTextDocument *doc = document();
    // Last block whose start, in the program's units, is at or before the position.
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (doc->findBlockByNumber(mid).position() + mid <= designPosition)
            low = mid;
        else
            high = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const int offset = designPosition - (block.position() + low);
    // A position inside or past the line break stays at the end of the line.
    return block.position() + std::min(offset, block.length() - 1);
}

int CompositionBox::selectionStart() const
{
    return toDesignPosition(textCursor().selectionStart());
}

void CompositionBox::setSelectionStart(int start)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(toEditorPosition(start));
    setTextCursor(cursor);
}

int CompositionBox::selectionLength() const
{
    const QTextCursor cursor = textCursor();
    return toDesignPosition(cursor.selectionEnd()) - toDesignPosition(cursor.selectionStart());
}

void CompositionBox::setSelectionLength(int length)
{
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const int end = toEditorPosition(toDesignPosition(start) + std::max(length, 0));
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

bool CompositionBox::event(QEvent *event)
{
    // The box itself draws only its frame; the viewport and the scroll bar draw the rest.
    if (event->type() == QEvent::Paint) {
        paintFrame();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void CompositionBox::paintFrame()
{
    // The viewport and the scroll bar stand on the device pixels nearest their edges: at
    // 125 % the band between them and the box's edge is 1 device pixel wide on some sides
    // and 2 on others. The style's frame, drawn in the box's own pixels, fell outside the
    // box on some sides and under the scroll bar on others. The box draws its line along
    // the edge of the device pixels it covers, and fills the rest of the band with the
    // text's background.
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QColor line = palette().color(hasFocus() ? QPalette::Highlight : QPalette::Mid);
    fillOutline(painter, devicePixels(painter, rect()), wholeDevicePixels(painter), line);
}

void CompositionBox::insertFromMimeData(const QMimeData *source)
{
    // Pasted and dropped text gets the box's own line breaks, like text set or inserted.
    if (!source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    textCursor().insertText(toEditorText(source->text()));
    ensureCursorVisible();
}

void CompositionBox::mouseMoveEvent(QMouseEvent *event)
{
    // A text drag runs its own event loop inside the editor's move handler. The box's
    // auto-scroll timer keeps sending the box moves with the left button held while it
    // runs; passed on, each would start another drag inside this one, and those left
    // open keep the pointer grabbed after the button is up.
    if (m_inMove)
        return;
    const bool leftHeld = event->buttons() & Qt::LeftButton;
    if (leftHeld && !(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        endPress(*event);
        return;
    }
    {
        const QScopedValueRollback guard(m_inMove, true);
        QPlainTextEdit::mouseMoveEvent(event);
    }
    // The drag's loop took the release, so the editor still thinks the button is down:
    // it would scroll and start drags on its own from now on.
    if (leftHeld && !(QGuiApplication::mouseButtons() & Qt::LeftButton))
        endPress(*event);
}

void CompositionBox::endPress(const QMouseEvent &move)
{
    // The release a click inside the selection gets would put the caret at the pointer;
    // after a drag the selection stays as the drag left it.
    const QTextCursor kept = textCursor();
    QMouseEvent release(QEvent::MouseButtonRelease, move.position(), move.scenePosition(),
                        move.globalPosition(), Qt::LeftButton, Qt::NoButton, move.modifiers());
    QPlainTextEdit::mouseReleaseEvent(&release);
    setTextCursor(kept);
}

void CompositionBox::keyPressEvent(QKeyEvent *event)
{
    // Shift+Return would put a line break inside the paragraph (U+2028); make it the
    // same ordinary line break as Return.
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && (event->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), event->count());
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace mirthkey
