// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Colors.h"

#include <QLabel>
#include <QTimer>

namespace mirthkey {

// A label whose text blinks: every 200 ms a red text turns blue, and any other colour
// turns red, so a red label shows red and blue for one tick each. Bold, it thickens the
// regular glyphs itself, so that small characters stay legible.
class BlinkingLabel final : public QLabel {
    Q_OBJECT
public:
    explicit BlinkingLabel(const QString &caption, QWidget *parent = nullptr);

    // The clock of the blinking; it runs from start() on and is never stopped.
    QTimer &timer() { return m_timer; }
    void start() { m_timer.start(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void step();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer m_timer{this}; // a child, so the window finds it by name
};

} // namespace mirthkey
