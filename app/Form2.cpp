#include "app/Form2.h"

#include "app/CompositionBox.h"
#include "app/Layout.h"
#include "commands/Commands.h"
#include "palette/EmoticonButton.h"
#include "palette/EmoticonTable.h"
#include "palette/Palette.h"

#include <QApplication>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <future>
#include <initializer_list>

namespace mirthkey
{

namespace
{

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
        auto *label = new QLabel(c.caption, parent);
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
        findChild<EmoticonButton *>(QStringLiteral("Command%1").arg(n))
            ->setPicture(QPixmap::fromImage(decoded[std::size_t(n - 1)]));
    }

    setTabOrder();
    wireEvents();

    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void Form2::createControls()
{
    QHash<QString, QWidget *> containers{{objectName(), this}};
    for (const Control &c : layoutTable()) {
        QWidget *parent = containers.value(c.parent);
        if (c.kind == Kind::Timer) {
            auto *timer = new QTimer(this);
            timer->setObjectName(c.name);
            timer->setInterval(c.interval);
            continue;
        }
        QWidget *widget = createWidget(c, parent);
        widget->setObjectName(c.name);
        if (c.kind != Kind::Label)
            widget->setGeometry(c.pixels());
        if (c.kind == Kind::Frame)
            containers.insert(c.name, widget);
    }
    m_text1 = findChild<CompositionBox *>(QStringLiteral("Text1"));
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
        auto *widget = findChild<QWidget *>(c->name);
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    m_text1->setFocus(Qt::OtherFocusReason);
}

void Form2::wireEvents()
{
    for (int n = 1; n <= kEmoticonCount; ++n) {
        auto *button = findChild<QPushButton *>(QStringLiteral("Command%1").arg(n));
        connect(button, &QPushButton::clicked, this, [this, n] { insertEmoticon(*m_text1, n); });
    }

    // The action buttons under the composition box, Command97 to Command102 in order.
    int number = 97;
    for (const auto handler :
         {copyCodes, clearCodes, saveCodes, showHelp, showHistory, showAbout}) {
        auto *button = findChild<QPushButton *>(QStringLiteral("Command%1").arg(number++));
        connect(button, &QPushButton::clicked, this,
                [this, handler] { handler(*m_text1, m_platform, this); });
    }
}

} // namespace mirthkey
