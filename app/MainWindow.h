// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Actions.h"

#include <QWidget>
#include <array>

class QPushButton;

namespace mirthkey {

class BlinkingLabel;
class CompositionBox;
class EmoticonPalette;
class LinkLabel;
class Platform;
class TypewriterLabel;

// The program's one window (objectName "Form2"). It builds its controls from the layout,
// each control under its own objectName, and wires their events to the handlers of the
// rooms that own the behaviour.
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(Platform &platform, QWidget *parent = nullptr);

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

    Platform &m_platform;
    EmoticonPalette *m_palette = nullptr;
    CompositionBox *m_composition = nullptr;
    // In the order of kActionButtons, which is also their order from left to right.
    std::array<QPushButton *, kActionButtons.size()> m_actionButtons{};
    TypewriterLabel *m_typewriter = nullptr;
    BlinkingLabel *m_author = nullptr;
    LinkLabel *m_mailLink = nullptr;
    LinkLabel *m_webLink = nullptr;
    bool m_centredWithFrame = false;
};

} // namespace mirthkey
