// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace mirthkey {

// A push button that Return and Enter press when it has the focus, as Space does: the
// program's buttons are not dialog buttons, so Qt would otherwise pass Return on.
// Return clicks once on going down; its repeats while held do not click again.
class PushButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Return went down on this button and has not come up since, as far as it knows.
    bool m_returnDown = false;
};

} // namespace mirthkey
