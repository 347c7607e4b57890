// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Colors.h"

#include <QLabel>
#include <QTimer>

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

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void step();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer m_timer{this};
};

} // namespace mirthkey
