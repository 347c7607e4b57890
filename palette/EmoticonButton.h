// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PushButton.h"

namespace mirthkey {

// A palette button: a white square with a thin frame and the emoticon's picture,
// pressed in while held down. Drawn by hand: the platform style's bevels and gradients
// cost more than the whole rest of the window when there are 96 of them.
class EmoticonButton final : public PushButton {
    Q_OBJECT
public:
    explicit EmoticonButton(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};

} // namespace mirthkey
