// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

namespace mirthkey {

// The composition box `Text1`: a plain text editor that speaks in the program's units.
// Positions and lengths count UTF-16 code units, and every line break counts as the
// two characters CR LF, as the texts the program reads and writes hold them.
class CompositionBox final : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CompositionBox(QWidget *parent = nullptr);

    // The whole text, line breaks as CR LF.
    QString text() const;
    // Replaces the whole text; CR LF, CR and LF each become one line break.
    // Afterwards the caret is at 0 and nothing is selected.
    void setText(const QString &text);
    // Length of text() without building it.
    int textLength() const;

    QString selectedText() const;
    // Replaces the selection (or inserts at the caret); the caret ends behind the
    // inserted text with nothing selected.
    void replaceSelection(const QString &text);

    int selectionStart() const;
    // Moves the caret to `start` (clamped to the text) and selects nothing.
    void setSelectionStart(int start);
    int selectionLength() const;
    // Selects `length` characters from selectionStart() (clamped to the text).
    void setSelectionLength(int length);

public slots:
    // A code chosen outside the box (an emoticon's) goes in where the user is writing: the
    // focus comes back to the box, then the code replaces the selection or goes in at the
    // caret.
    void insertCode(const QString &code);

public:
    // Conversions between the program's positions and the editor's own.
    int toDesignPosition(int editorPosition) const;
    int toEditorPosition(int designPosition) const;

protected:
    bool event(QEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    void keyPressEvent(QKeyEvent *event) override;
    // A press ends when the button comes up, also when a text drag took the release.
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // A thin line around the box, on whole device pixels, in the highlight colour while the
    // box has the focus.
    void paintFrame();
    // Gives the editor the release it did not see.
    void endPress(const QMouseEvent &move);

    bool m_inMove = false;
};

// Line breaks as the editor stores them ("\n", one per break) from any of CR LF, CR, LF
// and the line separator U+2028.
QString toEditorText(const QString &text);

} // namespace mirthkey
