#pragma once

#include <QHash>
#include <QWidget>

class QLabel;

namespace mirthkey {

class CompositionBox;
class Platform;

// The program's one window. It builds its controls from the layout table and wires
// their events to the handlers of the rooms that own the behaviour.
class Form2 final : public QWidget {
    Q_OBJECT
public:
    explicit Form2(Platform &platform, QWidget *parent = nullptr);

    CompositionBox &composition() const { return *m_composition; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void setTabOrder();
    void wireEvents();
    // The control of that name, made by createControls().
    template <typename T> T *control(const QString &name) const
    {
        return static_cast<T *>(m_controls.value(name));
    }
    template <typename T> T *control(const char *prefix, int number) const
    {
        return control<T>(QLatin1String(prefix) + QString::number(number));
    }

    Platform &m_platform;
    QHash<QString, QObject *> m_controls; // every control by name
    CompositionBox *m_composition = nullptr;
    QLabel *m_label1 = nullptr;  // the typewriter
    QLabel *m_label3 = nullptr;  // the blinking author
    QLabel *m_label7 = nullptr;  // e-mail link
    QLabel *m_label10 = nullptr; // web link
    QLabel *m_pressedLink = nullptr;
    int m_typedCount = 0; // the typewriter's counter
};

} // namespace mirthkey
