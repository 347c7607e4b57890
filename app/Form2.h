#pragma once

#include <QWidget>

namespace mirthkey
{

class CompositionBox;
class Platform;

// The program's one window. It builds its controls from the layout table and wires
// their events to the handlers of the rooms that own the behaviour.
class Form2 final : public QWidget
{
    Q_OBJECT
public:
    explicit Form2(Platform &platform, QWidget *parent = nullptr);

    CompositionBox &text1() const { return *m_text1; }

private:
    void createControls();
    void setTabOrder();
    void wireEvents();

    Platform &m_platform;
    CompositionBox *m_text1 = nullptr;
};

} // namespace mirthkey
