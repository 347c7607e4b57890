// SPDX-License-Identifier: GPL-3.0-or-later
#include "FixedWindowSize.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace mirthkey {

namespace {

constexpr Qt::WindowStates kEnlarged = Qt::WindowMaximized | Qt::WindowFullScreen;

class FixedSizeKeeper final : public QObject {
public:
    explicit FixedSizeKeeper(QWidget &window)
        : QObject(&window), m_window(window), m_size(window.size()), m_position(window.pos())
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != &m_window)
            return false;
        if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::Resize)
            restoreLater();
        else if (event->type() == QEvent::Move && isAsGiven())
            m_position = m_window.pos(); // the user moves the window where they like
        return false;
    }

private:
    bool isAsGiven() const
    {
        return m_window.size() == m_size && !(m_window.windowState() & kEnlarged) && !m_leaving;
    }

    // After the event at hand: the window system has finished its change by then.
    void restoreLater()
    {
        if (m_pending)
            return;
        m_pending = true;
        QMetaObject::invokeMethod(this, &FixedSizeKeeper::restore, Qt::QueuedConnection);
    }

    void restore()
    {
        m_pending = false;
        if (m_window.windowState() & kEnlarged) {
            // Leaving the state gives the window its size back; a size set before the
            // window system has confirmed the state would contradict the state (a Wayland
            // compositor ends the connection then).
            m_leaving = true;
            m_window.setWindowState(m_window.windowState() & ~kEnlarged);
            QTimer::singleShot(1000, this, [this] {
                m_leaving = false;
                restoreLater();
            });
        } else if (m_window.size() == m_size) {
            m_leaving = false;
        } else if (!m_leaving) {
            // A window manager may have moved the window to make room for the larger size.
            m_window.resize(m_size);
            m_window.move(m_position);
        }
    }

    QWidget &m_window;
    const QSize m_size;
    QPoint m_position;      // where the window last stood at its size
    bool m_pending = false; // a restore is queued
    bool m_leaving = false; // the enlarged state was left, the size is yet to come back
};

} // namespace

void keepFixedSize(QWidget &window)
{
    new FixedSizeKeeper(window);
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        // The widget keeps its fixed size; its native window takes what the compositor sets.
        window.winId();
        window.windowHandle()->setMinimumSize(QSize(0, 0));
        window.windowHandle()->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    }
}

} // namespace mirthkey
