// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QUrl>

namespace mirthkey {

// A label that works as a hyperlink: blue, a pointing hand over it, red and underlined from
// the moment the pointer moves over it, and a click (press and release on the label) asks
// for its target to be opened. It stays highlighted until told otherwise: the window
// resets its links when the pointer moves over its bare surface.
class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString &caption, QWidget *parent = nullptr);

    void setTarget(const QUrl &target) { m_target = target; }
    QUrl target() const { return m_target; }

    bool isHighlighted() const;

public slots:
    // Red and underlined, or the normal blue without underline.
    void setHighlighted(bool highlighted);

signals:
    // The label was clicked: `target` should be opened.
    void activated(const QUrl &target);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QUrl m_target;
    bool m_pressed = false;
};

} // namespace mirthkey
