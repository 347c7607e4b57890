// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

namespace mirthkey {

// A frame drawn the classic way: a thin etched border whose top line runs through the
// middle of the caption, the caption on the frame's own background at a small inset, and
// the inside in the frame's background colour. The caption takes the top 12 px, so the
// controls placed below it never cover it.
class Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Frame(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace mirthkey
