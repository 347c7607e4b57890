// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form2.h"

#include "Actions.h"
#include "BlinkingLabel.h"
#include "BuildInfo.h"
#include "Commands.h"
#include "CompositionBox.h"
#include "EmoticonPalette.h"
#include "ExitQuestion.h"
#include "FixedWindowSize.h"
#include "Frame.h"
#include "Layout.h"
#include "LinkLabel.h"
#include "Palette.h"
#include "Platform.h"
#include "ProgramFile.h"
#include "PushButton.h"
#include "Startup.h"
#include "TypewriterLabel.h"
#include "WindowTitle.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHash>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <initializer_list>

namespace mirthkey {

namespace {

void paint(QWidget *widget, QPalette::ColorRole role, std::optional<ColorValue> color)
{
    if (color)
        setColor(*widget, role, *color);
}

// Where the two link labels lead: constants of their own, never read from a caption.
QUrl webTarget()
{
    return QUrl(QString::fromUtf16(build::kWebsite));
}

QUrl mailTarget()
{
    return QUrl(QStringLiteral("mailto:") + QString::fromUtf16(build::kAuthorEmail));
}

// A label of the layout: its caption and background, sized to the caption at its place.
QLabel *setUp(QLabel *label, const Control &c)
{
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(c.backgroundColor.has_value());
    paint(label, QPalette::Window, c.backgroundColor);
    label->move(c.pixels().topLeft());
    label->adjustSize();
    return label;
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
    case Kind::Frame:
    case Kind::Palette: {
        Frame *frame = c.kind == Kind::Palette ? new EmoticonPalette(c.caption, parent)
                                               : new Frame(c.caption, parent);
        frame->setAutoFillBackground(true);
        paint(frame, QPalette::Window, c.backgroundColor);
        return frame;
    }
    case Kind::TextBox: {
        auto *box = new CompositionBox(parent);
        paint(box, QPalette::Base, c.backgroundColor);
        return box;
    }
    case Kind::ActionButton: {
        auto *button = new PushButton(c.caption, parent);
        button->setAutoDefault(false);
        return button;
    }
    case Kind::Label:
        return setUp(new QLabel(c.caption, parent), c);
    case Kind::TypewriterLabel:
        return setUp(new TypewriterLabel(c.caption, parent), c);
    case Kind::BlinkingLabel:
        return setUp(new BlinkingLabel(c.caption, parent), c);
    case Kind::LinkLabel:
        return setUp(new LinkLabel(c.caption, parent), c);
    case Kind::Image: {
        auto *image = new QLabel(parent);
        // The 2x picture where the screen scales; the label smooths it to the scale.
        image->setPixmap(QPixmap(qApp->devicePixelRatio() > 1.0 ? QStringLiteral(":/banner@2x.png")
                                                                : QStringLiteral(":/banner.png")));
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return image;
    }
    }
    return nullptr;
}

} // namespace

Form2::Form2(Platform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_platform(platform)
{
    setObjectName(QStringLiteral("Form2"));
    setFixedSize(kWindowWidth, kWindowHeight);
    keepFixedSize(*this);
    setAutoFillBackground(true);
    paint(this, QPalette::Window, ColorValue::Window);
    setWindowIcon(programIcon());

    createControls();
    setTabOrder();
    startUp(*this, *m_typewriter, *m_author, m_platform, programFolder(), executableName());
    wireEvents();

    centre();
}

void Form2::centre()
{
    if (const QScreen *screen = this->screen()) {
        const QSize whole = frameGeometry().size();
        move(screen->availableGeometry().center() -
             QPoint((whole.width() - 1) / 2, (whole.height() - 1) / 2));
    }
}

bool Form2::event(QEvent *event)
{
    // The frame's size is known only once the window manager has framed the window: the
    // window is then centred again, frame included.
    const bool handled = QWidget::event(event);
    if (!m_centredWithFrame && isVisible() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Expose) &&
        frameGeometry().size() != size()) {
        m_centredWithFrame = true;
        centre();
    }
    return handled;
}

void Form2::createControls()
{
    m_controls.reserve(qsizetype(layoutTable().size()) + 1);
    m_controls.insert(objectName(), this);
    for (const Control &c : layoutTable()) {
        QWidget *widget = createWidget(c, control<QWidget>(c.parent));
        widget->setObjectName(c.name);
        if (c.twips.width() > 0) // labels size themselves to their captions
            widget->setGeometry(c.pixels());
        m_controls.insert(c.name, widget);
    }
    m_palette = control<EmoticonPalette>(QStringLiteral("Frame1"));
    m_composition = control<CompositionBox>(QStringLiteral("Text1"));
    m_typewriter = control<TypewriterLabel>(QStringLiteral("Label1"));
    m_author = control<BlinkingLabel>(QStringLiteral("Label3"));
    m_mailLink = control<LinkLabel>(QStringLiteral("Label7"));
    m_webLink = control<LinkLabel>(QStringLiteral("Label10"));
    m_mailLink->setTarget(mailTarget());
    m_webLink->setTarget(webTarget());
}

void Form2::setTabOrder()
{
    // Focus moves in ascending tab index among the controls that take it: the composition
    // box (4), the palette's buttons row by row (5 to 100), then the action buttons from
    // left to right (108 to 113).
    QWidget *previous = m_composition;
    auto next = [&previous](QWidget *widget) {
        QWidget::setTabOrder(previous, widget);
        previous = widget;
    };
    for (int n = 1; n <= kEmoticonCount; ++n)
        next(m_palette->button(n));
    for (const ActionButton &a : kActionButtons)
        next(control<QWidget>(a.name));
    m_composition->setFocus(Qt::OtherFocusReason);
}

void Form2::wireEvents()
{
    connect(m_palette, &EmoticonPalette::emoticonChosen, this,
            [this](const QString &code) { insertCode(*m_composition, code); });

    auto *commands = new Commands(*m_composition, m_platform, this);
    for (const ActionButton &a : kActionButtons)
        connect(control<QPushButton>(a.name), &QPushButton::clicked, commands, a.command);

    // The links highlight themselves; moves over the bare window surface reset them.
    setMouseTracking(true);
    for (LinkLabel *link : {m_mailLink, m_webLink})
        connect(link, &LinkLabel::activated, this,
                [this](const QUrl &target) { m_platform.openUrl(target); });
}

void Form2::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over other controls reach the window too; only bare surface counts.
    if (!childAt(event->position().toPoint())) {
        m_mailLink->setHighlighted(false);
        m_webLink->setHighlighted(false);
    }
    QWidget::mouseMoveEvent(event);
}

void Form2::showEvent(QShowEvent *event)
{
    showEmptyTitleAsEmpty(*this);
    // Where the window's frame is known as soon as the window exists (Windows), the window
    // is centred with it before it appears.
    if (!m_centredWithFrame && frameGeometry().size() != size()) {
        m_centredWithFrame = true;
        centre();
    }
    QWidget::showEvent(event);
}

void Form2::closeEvent(QCloseEvent *event)
{
    event->setAccepted(confirmExit(m_platform, this, executableName().display()));
}

} // namespace mirthkey
