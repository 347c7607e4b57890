// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QWidget>

namespace mirthkey {

class BlinkingLabel;
class CompositionBox;
class EmoticonPalette;
class LinkLabel;
class Platform;
class TypewriterLabel;

// The program's one window. It builds its controls from the layout table and wires
// their events to the handlers of the rooms that own the behaviour.
class Form2 final : public QWidget {
    Q_OBJECT
public:
    explicit Form2(Platform &platform, QWidget *parent = nullptr);

    CompositionBox &composition() const { return *m_composition; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void createControls();
    void setTabOrder();
    void wireEvents();
    // Puts the whole window, its frame included, in the middle of the screen.
    void centre();
    // The control of that name, made by createControls().
    template <typename T> T *control(const QString &name) const
    {
        return static_cast<T *>(m_controls.value(name));
    }

    Platform &m_platform;
    QHash<QString, QObject *> m_controls; // every control by name
    EmoticonPalette *m_palette = nullptr;
    CompositionBox *m_composition = nullptr;
    TypewriterLabel *m_typewriter = nullptr;
    BlinkingLabel *m_author = nullptr;
    LinkLabel *m_mailLink = nullptr;
    LinkLabel *m_webLink = nullptr;
    bool m_centredWithFrame = false;
};

} // namespace mirthkey
