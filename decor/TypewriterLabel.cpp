// SPDX-License-Identifier: GPL-3.0-or-later
#include "TypewriterLabel.h"

#include "Clock.h"
#include "Colors.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QStyle>
#include <QTextLine>
#include <cmath>

namespace mirthkey {

namespace {
constexpr QChar kBar(u'|');
constexpr QChar kZeroWidthSpace(0x200B);

// What accessibility clients see of the label: static text, named by its caption.
class AccessibleTypewriter final : public QAccessibleWidget {
public:
    explicit AccessibleTypewriter(TypewriterLabel *label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {}
    QString text(QAccessible::Text kind) const override
    {
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty())
            text = static_cast<const TypewriterLabel *>(widget())->text();
        return text;
    }
};

QAccessibleInterface *accessibleTypewriter(const QString &className, QObject *object)
{
    if (className == QLatin1String(TypewriterLabel::staticMetaObject.className()) &&
        object->isWidgetType())
        return new AccessibleTypewriter(static_cast<TypewriterLabel *>(object));
    return nullptr;
}
} // namespace

const QString &TypewriterLabel::description()
{
    static const QString text =
        QStringLiteral("程序说明：\r\n本程序为QQ表情外挂的辅助软件，是一款不可"
                       "多得的好工具。\r\n既可以当作QQ表情代码的查"
                       "看器，又可以拿来做QQ批量表情的输入器。");
    return text;
}

TypewriterLabel::TypewriterLabel(const QString &caption, QWidget *parent)
    : QWidget(parent), m_caption(caption)
{
    static const bool readable = (QAccessible::installFactory(accessibleTypewriter), true);
    Q_UNUSED(readable)
    setForeColor(*this, ColorValue::Blue);
    // What the label shows stays where it is as it grows: a resize repaints only what it
    // adds. It stands on the window's plain colour and paints that colour itself, so that a
    // step repaints the label alone and not the window beneath as well.
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    splitLines();
    startClock(m_timer, "Timer1", this, &TypewriterLabel::step);
}

QString TypewriterLabel::text() const
{
    return m_caption ? *m_caption : description().left(m_typed) + kBar;
}

void TypewriterLabel::step()
{
    const std::optional<Typed> before = typed();
    m_caption.reset();
    m_typed += 1;
    if (m_typed > description().size())
        m_typed = 0;
    if (QAccessible::isActive()) {
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
    // The label is held at the size of its caption: a new caption of the same size then
    // asks the window for no new layout (the window has none to redo), five times a second.
    // Only when the size changes does the window hear of it, and work out again which of
    // its controls cover the label.
    const QSize captionSize = sizeHint();
    if (captionSize != size())
        setFixedSize(captionSize);
    update(changed(before));
}

QRegion TypewriterLabel::changed(const std::optional<Typed> &before) const
{
    if (!before || m_typed == 0)
        return rect(); // a new caption, or the bar alone: what the label grew by, or nothing
    const Typed after = *typed(); // a step always leaves the description typed
    // The old bar gives way to the new character (or to nothing, at a line break), and the
    // bar moves behind it.
    QRegion region = cell(before->line, before->barX, before->barX + m_barWidth);
    if (after.column > 0) {
        const auto column = std::size_t(after.column);
        region += cell(after.line, lineOf(after.line).left[column - 1], after.barX);
    }
    return region + cell(after.line, after.barX, after.barX + m_barWidth);
}

QRect TypewriterLabel::cell(int line, qreal left, qreal right) const
{
    const int top = line * m_lineHeight;
    return {QPoint(int(std::floor(left)) - 1, top),
            QPoint(int(std::ceil(right)), top + m_lineHeight - 1)};
}

void TypewriterLabel::splitLines()
{
    m_lines.clear();
    qsizetype start = 0;
    const QString &text = description();
    while (start < text.size() || m_lines.empty()) {
        const qsizetype lf = text.indexOf(u'\n', start);
        const qsizetype end = lf < 0 ? text.size() : lf + 1;
        m_lines.push_back({start, end, nullptr, {}, {}});
        start = end;
    }
    const QFontMetricsF metrics(font());
    m_lineHeight = qRound(metrics.height());
    m_barWidth = metrics.horizontalAdvance(kBar);
    QTextLayout bar(QString(kBar), font());
    bar.beginLayout();
    const QTextLine barLine = bar.createLine();
    bar.endLayout();
    m_bar = bar.glyphRuns();
    m_barAscent = barLine.ascent();
}

const TypewriterLabel::Line &TypewriterLabel::lineOf(int line) const
{
    const Line &l = m_lines[std::size_t(line)];
    if (!l.layout) {
        // Same length as the source line, so that caption positions map one to one:
        // the line break draws as nothing.
        QString shown = description().mid(l.start, l.end - l.start);
        shown.replace(u'\r', kZeroWidthSpace).replace(u'\n', kZeroWidthSpace);
        l.layout = std::make_unique<QTextLayout>(shown, font());
        QTextOption option(Qt::AlignLeft);
        option.setWrapMode(QTextOption::NoWrap);
        l.layout->setTextOption(option);
        l.layout->beginLayout();
        QTextLine laidOut = l.layout->createLine();
        laidOut.setPosition(QPointF(0, line * m_lineHeight));
        l.layout->endLayout();
        for (int c = 0; c < shown.size(); ++c) {
            l.glyphs.push_back(l.layout->glyphRuns(c, 1));
            l.left.push_back(laidOut.cursorToX(c));
        }
        l.left.push_back(laidOut.cursorToX(int(shown.size())));
    }
    return l;
}

std::optional<TypewriterLabel::Typed> TypewriterLabel::typed() const
{
    if (m_caption)
        return std::nullopt;
    int line = 0;
    while (line + 1 < int(m_lines.size()) && m_lines[std::size_t(line) + 1].start <= m_typed)
        ++line;
    const qsizetype column = m_typed - m_lines[std::size_t(line)].start;
    return Typed{line, int(column), lineOf(line).left[std::size_t(column)]};
}

QSize TypewriterLabel::sizeHint() const
{
    const auto t = typed();
    if (!t) // as a plain label measures it
        return fontMetrics()
            .boundingRect(QRect(0, 0, 2000, 2000), Qt::AlignLeft | Qt::TextExpandTabs, *m_caption)
            .size();
    qreal width = t->barX + m_barWidth;
    for (int i = 0; i < t->line; ++i)
        width = std::max(width, lineOf(i).layout->lineAt(0).naturalTextWidth());
    return {int(std::ceil(width)), (t->line + 1) * m_lineHeight};
}

void TypewriterLabel::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());
    const auto t = typed();
    if (!t) {
        style()->drawItemText(&painter, rect(),
                              Qt::AlignLeft | Qt::AlignVCenter | Qt::TextExpandTabs, palette(),
                              isEnabled(), *m_caption, foregroundRole());
        return;
    }
    // Character by character, only those the repaint reaches: a step repaints the
    // character it adds and the bar, a resize what the label grew by.
    painter.setPen(palette().color(QPalette::WindowText));
    const QRegion &dirty = event->region();
    for (int i = 0; i <= t->line; ++i) {
        const Line &l = lineOf(i);
        const std::size_t typed = i < t->line ? l.glyphs.size() : std::size_t(t->column);
        for (std::size_t c = 0; c < typed; ++c) {
            if (!dirty.intersects(cell(i, l.left[c], l.left[c + 1])))
                continue;
            for (const QGlyphRun &run : l.glyphs[c])
                painter.drawGlyphRun(QPointF(0, 0), run);
        }
    }
    const QPointF bar(t->barX, t->line * m_lineHeight + lineOf(t->line).layout->lineAt(0).ascent() -
                                   m_barAscent);
    for (const QGlyphRun &run : m_bar)
        painter.drawGlyphRun(bar, run);
}

void TypewriterLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        splitLines();
    QWidget::changeEvent(event);
}

} // namespace mirthkey
