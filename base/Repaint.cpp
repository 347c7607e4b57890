// SPDX-License-Identifier: GPL-3.0-or-later
#include "Repaint.h"

#include <QWidget>

namespace mirthkey {

RepaintsHeld::RepaintsHeld(QWidget &widget)
    : m_widget(widget), m_wasHeld(widget.testAttribute(Qt::WA_UpdatesDisabled))
{
    // The attribute itself: setUpdatesEnabled(true) would ask for a repaint of it all.
    m_widget.setAttribute(Qt::WA_UpdatesDisabled);
}

RepaintsHeld::~RepaintsHeld()
{
    m_widget.setAttribute(Qt::WA_UpdatesDisabled, m_wasHeld);
}

} // namespace mirthkey
