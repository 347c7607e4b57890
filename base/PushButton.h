// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace mirthkey {

// A push button that Return and Enter press when it has the focus, as Space does: the
// program's buttons are not dialog buttons, so Qt would otherwise pass Return on.
class PushButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace mirthkey
