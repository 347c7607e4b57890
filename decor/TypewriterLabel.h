// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGlyphRun>
#include <QTextLayout>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

namespace mirthkey {

// A label that types the program's description out in blue, one character every 200 ms,
// with a cursor bar "|" behind the last typed character; after the whole text it shows the
// bar alone and starts again. It ticks from the moment it is made (its clock is `Timer1`)
// and is never stopped. The label keeps its top-left corner and grows and shrinks with its
// caption.
//
// It draws its caption itself rather than through QLabel: a QLabel repaints its whole
// text at every change, three lines of it here, where a tick changes one character and
// the bar. Each line of the description is laid out once, when the typing first reaches
// it, and every caption is drawn and measured from those layouts, from the glyphs kept
// per character. Accessibility clients read the caption as a label's text.
class TypewriterLabel final : public QWidget {
    Q_OBJECT
public:
    // The description: three lines joined by CR LF, 70 UTF-16 units.
    static const QString &description();

    // Shows `caption`, drawn as a plain label draws it, until the first step.
    explicit TypewriterLabel(const QString &caption, QWidget *parent = nullptr);

    // What it shows: the caption it was made with, or a beginning of the description and
    // the bar.
    QString text() const;
    // How many characters of the description stand before the bar, 0..70.
    int typedCount() const { return m_typed; }
    // Its clock, `Timer1`.
    QTimer &clock() { return m_timer; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

public slots:
    // One more character, or after the whole text the bar alone. Start-up takes one step
    // itself, so the first character stands before the window is shown.
    void step();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Line {
        qsizetype start;                              // where the line starts in the text
        qsizetype end;                                // behind its line break
        mutable std::unique_ptr<QTextLayout> layout;  // made on first use, with:
        mutable std::vector<QList<QGlyphRun>> glyphs; // each character's glyphs
        mutable std::vector<qreal> left; // where each character starts, and the line ends
    };
    struct Typed {
        int line;   // the line the bar stands on
        int column; // how many of its characters stand before the bar
        qreal barX; // where the bar starts on it
    };
    // Where the bar stands; nothing while the label shows the caption it was made with.
    std::optional<Typed> typed() const;
    const Line &lineOf(int line) const;
    // The cell a character or the bar is drawn in: a pixel wider on the left, where
    // antialiasing may reach.
    QRect cell(int line, qreal left, qreal right) const;
    // What a step from `before` changed on the screen.
    QRegion changed(const std::optional<Typed> &before) const;
    void splitLines();

    QTimer m_timer{this};
    std::optional<QString> m_caption; // the caption it was made with, until the first step
    int m_typed = 0;
    std::vector<Line> m_lines;
    int m_lineHeight = 0;
    qreal m_barWidth = 0;
    QList<QGlyphRun> m_bar; // the bar's glyphs, on the baseline at m_barAscent
    qreal m_barAscent = 0;
};

} // namespace mirthkey
