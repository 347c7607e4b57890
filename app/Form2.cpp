#include "Form2.h"

#include "Commands.h"
#include "CompositionBox.h"
#include "EmoticonButton.h"
#include "EmoticonTable.h"
#include "ExitQuestion.h"
#include "Layout.h"
#include "Links.h"
#include "Palette.h"
#include "ProgramFile.h"
#include "Startup.h"
#include "TypedLabel.h"
#include "Typewriter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <future>
#include <initializer_list>

namespace mirthkey {

namespace {

void paint(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    if (!color.isValid())
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

QIcon programIcon()
{
    QIcon icon;
    // The sizes a window manager shows; the larger ones are for the installed icon theme.
    for (const int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/mirthkey-%1.png").arg(size), QSize(size, size));
    return icon;
}

QWidget *createWidget(const Control &c, QWidget *parent)
{
    switch (c.kind) {
    case Kind::Frame: {
        auto *frame = new QGroupBox(c.caption, parent);
        frame->setAutoFillBackground(true);
        paint(frame, QPalette::Window, c.backgroundColor);
        return frame;
    }
    case Kind::TextBox: {
        auto *box = new CompositionBox(parent);
        paint(box, QPalette::Base, c.backgroundColor);
        return box;
    }
    case Kind::PictureButton: {
        auto *button = new EmoticonButton(parent);
        button->setAutoDefault(false);
        button->setAccessibleName(accessibleName(emoticon(c.emoticon)));
        paint(button, QPalette::Button, c.backgroundColor);
        return button;
    }
    case Kind::ActionButton: {
        auto *button = new QPushButton(c.caption, parent);
        button->setAutoDefault(false);
        return button;
    }
    case Kind::Label: {
        // Label1 is where the description types itself out.
        QLabel *label = nullptr;
        if (c.name == u"Label1") {
            auto *typed = new TypedLabel(c.caption, parent);
            typed->setSourceText(kDescription);
            label = typed;
        } else {
            label = new QLabel(c.caption, parent);
        }
        label->setTextFormat(Qt::PlainText);
        label->setAutoFillBackground(c.backgroundColor.isValid());
        paint(label, QPalette::Window, c.backgroundColor);
        paint(label, QPalette::WindowText, c.textColor);
        if (c.bold) {
            QFont font = label->font();
            font.setBold(true);
            label->setFont(font);
        }
        label->move(c.pixels().topLeft());
        label->adjustSize();
        return label;
    }
    case Kind::Image: {
        auto *image = new QLabel(parent);
        image->setPixmap(QPixmap(QStringLiteral(":/banner.png")));
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return image;
    }
    case Kind::Timer:
        return nullptr;
    }
    return nullptr;
}

} // namespace

Form2::Form2(Platform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_platform(platform)
{
    setObjectName(QStringLiteral("Form2"));
    setFixedSize(kWindowWidth, kWindowHeight);
    setAutoFillBackground(true);
    paint(this, QPalette::Window, kWindowColor);
    setWindowIcon(programIcon());

    // The pictures decode on another core while the controls are made.
    auto pictures = std::async(std::launch::async, loadPictures, qApp->devicePixelRatio());
    createControls();
    const std::vector<QImage> decoded = pictures.get();
    for (int n = 1; n <= kEmoticonCount; ++n) {
        control<EmoticonButton>("Command", n)
            ->setPicture(QPixmap::fromImage(decoded[std::size_t(n - 1)]));
    }

    setTabOrder();
    startUp(*this, *m_label1, *m_label3, m_typedCount, m_platform, programFolder(),
            executableName());
    wireEvents();

    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void Form2::createControls()
{
    m_controls.reserve(qsizetype(layoutTable().size()) + 1);
    m_controls.insert(objectName(), this);
    for (const Control &c : layoutTable()) {
        if (c.kind == Kind::Timer) {
            auto *timer = new QTimer(this);
            timer->setObjectName(c.name);
            timer->setInterval(c.interval);
            m_controls.insert(c.name, timer);
            continue;
        }
        QWidget *widget = createWidget(c, control<QWidget>(c.parent));
        widget->setObjectName(c.name);
        if (c.kind != Kind::Label)
            widget->setGeometry(c.pixels());
        m_controls.insert(c.name, widget);
    }
    m_composition = control<CompositionBox>(QStringLiteral("Text1"));
    m_label1 = control<QLabel>(QStringLiteral("Label1"));
    m_label3 = control<QLabel>(QStringLiteral("Label3"));
    m_label7 = control<QLabel>(QStringLiteral("Label7"));
    m_label10 = control<QLabel>(QStringLiteral("Label10"));
    for (QLabel *link : {m_label7, m_label10})
        link->setCursor(Qt::PointingHandCursor);
}

void Form2::setTabOrder()
{
    // Focus moves in ascending tab index among the controls that take it: the
    // composition box, the palette row by row, then the action buttons.
    std::vector<const Control *> order;
    for (const Control &c : layoutTable()) {
        if (c.kind == Kind::TextBox || c.kind == Kind::PictureButton ||
            c.kind == Kind::ActionButton)
            order.push_back(&c);
    }
    std::sort(order.begin(), order.end(),
              [](const Control *a, const Control *b) { return a->tabIndex < b->tabIndex; });
    QWidget *previous = nullptr;
    for (const Control *c : order) {
        auto *widget = control<QWidget>(c->name);
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    m_composition->setFocus(Qt::OtherFocusReason);
}

void Form2::wireEvents()
{
    for (int n = 1; n <= kEmoticonCount; ++n) {
        auto *button = control<QPushButton>("Command", n);
        connect(button, &QPushButton::clicked, this,
                [this, n] { insertEmoticon(*m_composition, n); });
    }

    // The action buttons under the composition box, Command97 to Command102 in order.
    auto *commands = new Commands(*m_composition, m_platform, this);
    int number = 97;
    for (const auto slot : {&Commands::copy, &Commands::clear, &Commands::save, &Commands::showHelp,
                            &Commands::showHistory, &Commands::showAbout})
        connect(control<QPushButton>("Command", number++), &QPushButton::clicked, commands, slot);

    // The typewriter and the blinking author tick from now on and are never stopped.
    auto *timer1 = control<QTimer>(QStringLiteral("Timer1"));
    connect(timer1, &QTimer::timeout, this, [this] { typewriterStep(*m_label1, m_typedCount); });
    auto *timer2 = control<QTimer>(QStringLiteral("Timer2"));
    connect(timer2, &QTimer::timeout, this, [this] { blinkStep(*m_label3); });
    timer1->start();
    timer2->start();

    // Link labels: hover and click arrive through the event filter; moves over the
    // bare window surface through mouseMoveEvent.
    setMouseTracking(true);
    for (QLabel *link : {m_label7, m_label10}) {
        link->setMouseTracking(true);
        link->installEventFilter(this);
    }
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    auto *link = qobject_cast<QLabel *>(watched);
    if (link != m_label7 && link != m_label10)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        linkLabelMouseMove(*link);
        return true;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_pressedLink = link;
        return true;
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const bool clicked = mouse->button() == Qt::LeftButton && m_pressedLink == link &&
                             link->rect().contains(mouse->position().toPoint());
        m_pressedLink = nullptr;
        if (clicked)
            openLink(m_platform, link == m_label10 ? webTarget() : mailTarget());
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void Form2::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over other controls reach the window too; only bare surface counts.
    if (!childAt(event->position().toPoint()))
        windowSurfaceMouseMove(*m_label7, *m_label10);
    QWidget::mouseMoveEvent(event);
}

void Form2::closeEvent(QCloseEvent *event)
{
    event->setAccepted(confirmExit(m_platform, this, executableName()));
}

} // namespace mirthkey
