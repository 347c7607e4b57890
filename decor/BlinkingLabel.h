// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Colors.h"

#include <QImage>
#include <QLabel>
#include <QTimer>
#include <array>

namespace mirthkey {

// The author's name, red and bold, blinking: every 200 ms a red text turns blue, and any
// other colour turns red, so a red label shows red and blue for one tick each. It blinks
// from the moment it is made (its clock is `Timer2`) and is never stopped. Bold, it
// thickens the regular glyphs itself, so that small characters stay legible.
class BlinkingLabel final : public QLabel {
    Q_OBJECT
public:
    explicit BlinkingLabel(const QString &caption, QWidget *parent = nullptr);

    // Red and bold: the label's look as it is made, and again at start-up.
    void setRedAndBold();
    // Its clock, `Timer2`.
    QTimer &clock() { return m_timer; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void step();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Everything the drawing of the bold name depends on.
    struct Look {
        QString text;
        QFont font;
        QPalette palette;
        QStyle *style = nullptr;
        bool enabled = false;
        bool filled = false; // on its background
        int flags = 0;
        QRect contents;
        QSize size;
        qreal ratio = 0;
        bool operator==(const Look &) const = default;
    };
    struct Drawing {
        Look look;
        QImage glyphs;
    };
    // The bold name as the label looks now, drawn on a transparent image of its size.
    const QImage &boldGlyphs();

    QTimer m_timer{this};
    std::array<Drawing, 2> m_drawings;
    std::size_t m_nextDrawing = 0;
};

} // namespace mirthkey
