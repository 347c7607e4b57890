// SPDX-License-Identifier: GPL-3.0-or-later
#include "Repaint.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

namespace mirthkey {

namespace {

// Collects what is to be repainted and repaints it when the event dispatcher is next about
// to wait, or is entered to handle events without waiting.
class Repainter final : public QObject {
public:
    static Repainter &instance()
    {
        static QPointer<Repainter> repainter;
        if (!repainter)
            repainter = new Repainter(QCoreApplication::instance());
        return *repainter;
    }

    void add(QWidget &widget, const QRegion &region)
    {
        watchDispatcher();
        m_pending.push_back({&widget, region});
    }

private:
    explicit Repainter(QObject *parent) : QObject(parent) {}

    void watchDispatcher()
    {
        QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
        if (!dispatcher || dispatcher == m_dispatcher)
            return;
        m_dispatcher = dispatcher;
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &Repainter::repaint);
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, &Repainter::repaint);
    }

    void repaint()
    {
        // Each widget once, over all that changed in it. (A repaint of the window would
        // leave out the controls that cover their place themselves.)
        std::vector<Pending> widgets;
        for (const Pending &change : std::exchange(m_pending, {})) {
            auto same = std::find_if(widgets.begin(), widgets.end(),
                                     [&](const Pending &p) { return p.widget == change.widget; });
            if (same == widgets.end())
                widgets.push_back(change);
            else
                same->region += change.region;
        }
        for (const Pending &widget : widgets) {
            if (widget.widget) // one not shown is painted whole when it is shown
                widget.widget->repaint(widget.region);
        }
    }

    struct Pending {
        QPointer<QWidget> widget;
        QRegion region;
    };
    std::vector<Pending> m_pending;
    QPointer<QAbstractEventDispatcher> m_dispatcher;
};

} // namespace

// Under Windows an event posted to the event loop is a message to the loop's window, and
// the toolkit starts a timer to handle what was posted: each a call to the server (under
// Wine, to the wineserver). Repainting each widget on its own before the loop waits costs
// no call.
void repaintBeforeWaiting(QWidget &widget, const QRegion &region)
{
    if (!region.isEmpty())
        Repainter::instance().add(widget, region);
}

} // namespace mirthkey
