// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"

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
#include "Platform.h"
#include "ProgramFile.h"
#include "PushButton.h"
#include "Startup.h"
#include "TypewriterLabel.h"
#include "WindowTitle.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <initializer_list>
#include <type_traits>

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

// A control of the layout under its objectName, where the layout places it.
template <typename W> W *placed(W *widget, const Control &c)
{
    widget->setObjectName(c.name);
    widget->setGeometry(c.pixels());
    return widget;
}

// A captioned frame of the layout, in its background.
template <typename F> F *framed(F *frame, const Control &c)
{
    frame->setAutoFillBackground(true);
    paint(frame, QPalette::Window, c.backgroundColor);
    return placed(frame, c);
}

// A label of the layout: its caption and background, sized to the caption at its place.
template <typename L> L *labelled(L *label, const Control &c)
{
    label->setObjectName(c.name);
    if constexpr (std::is_base_of_v<QLabel, L>) // the typewriter draws plain text itself
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

QLabel *banner(const Control &c, QWidget *parent)
{
    auto *image = new QLabel(parent);
    // The 2x picture where the screen scales; the label smooths it to the scale.
    image->setPixmap(QPixmap(qApp->devicePixelRatio() > 1.0 ? QStringLiteral(":/banner@2x.png")
                                                            : QStringLiteral(":/banner.png")));
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return placed(image, c);
}

} // namespace

MainWindow::MainWindow(Platform &platform, QWidget *parent)
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

void MainWindow::centre()
{
    if (const QScreen *screen = this->screen()) {
        const QSize whole = frameGeometry().size();
        move(screen->availableGeometry().center() -
             QPoint((whole.width() - 1) / 2, (whole.height() - 1) / 2));
    }
}

bool MainWindow::event(QEvent *event)
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

void MainWindow::createControls()
{
    // Made in the order the window was drawn: where two controls overlap, the later one lies
    // on top.
    const Layout &l = windowLayout();
    m_palette = framed(new EmoticonPalette(l.palette.caption, this), l.palette);

    auto *compositionFrame =
        framed(new Frame(l.compositionFrame.caption, this), l.compositionFrame);
    m_composition = placed(new CompositionBox(compositionFrame), l.compositionBox);
    paint(m_composition, QPalette::Base, l.compositionBox.backgroundColor);

    auto *actionFrame = framed(new Frame(l.actionFrame.caption, this), l.actionFrame);
    // From the right to the left.
    for (std::size_t i = kActionButtons.size(); i-- > 0;) {
        const Control &c = l.actionButtons[i];
        auto *button = placed(new PushButton(c.caption, actionFrame), c);
        button->setAutoDefault(false);
        m_actionButtons[i] = button;
    }

    labelled(new QLabel(l.rights.caption, this), l.rights);
    labelled(new QLabel(l.authorCaption.caption, this), l.authorCaption);
    m_author = labelled(new BlinkingLabel(l.author.caption, this), l.author);
    labelled(new QLabel(l.mailCaption.caption, this), l.mailCaption);
    m_mailLink = labelled(new LinkLabel(l.mailLink.caption, this), l.mailLink);
    m_webLink = labelled(new LinkLabel(l.webLink.caption, this), l.webLink);
    labelled(new QLabel(l.webCaption.caption, this), l.webCaption);
    banner(l.banner, this);
    m_typewriter = labelled(new TypewriterLabel(l.description.caption, this), l.description);

    m_mailLink->setTarget(mailTarget());
    m_webLink->setTarget(webTarget());
}

void MainWindow::setTabOrder()
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
    for (QPushButton *button : m_actionButtons)
        next(button);
    m_composition->setFocus(Qt::OtherFocusReason);
}

void MainWindow::wireEvents()
{
    connect(m_palette, &EmoticonPalette::emoticonChosen, m_composition,
            &CompositionBox::insertCode);

    auto *commands = new Commands(*m_composition, m_platform, this);
    for (std::size_t i = 0; i < kActionButtons.size(); ++i)
        connect(m_actionButtons[i], &QPushButton::clicked, commands, kActionButtons[i].command);

    // The links highlight themselves; moves over the bare window surface reset them.
    setMouseTracking(true);
    for (LinkLabel *link : {m_mailLink, m_webLink})
        connect(link, &LinkLabel::activated, this,
                [this](const QUrl &target) { m_platform.openUrl(target); });
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over other controls reach the window too; only bare surface counts.
    if (!childAt(event->position().toPoint())) {
        m_mailLink->setHighlighted(false);
        m_webLink->setHighlighted(false);
    }
    QWidget::mouseMoveEvent(event);
}

void MainWindow::showEvent(QShowEvent *event)
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

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->setAccepted(confirmExit(m_platform, this, executableName().display()));
}

} // namespace mirthkey
