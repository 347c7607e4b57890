// SPDX-License-Identifier: GPL-3.0-or-later
#include "TypewriterLabel.h"

#include "Clock.h"
#include "Colors.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLine>
#include <cmath>

namespace mirthkey {

namespace {
constexpr QChar kBar(u'|');
constexpr QChar kZeroWidthSpace(0x200B);
} // namespace

const QString &TypewriterLabel::description()
{
    static const QString text =
        QStringLiteral("程序说明：\r\n本程序为QQ表情外挂的辅助软件，是一款不可"
                       "多得的好工具。\r\n既可以当作QQ表情代码的查"
                       "看器，又可以拿来做QQ批量表情的输入器。");
    return text;
}

TypewriterLabel::TypewriterLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent)
{
    setTextFormat(Qt::PlainText);
    setForeColor(*this, ColorValue::Blue);
    splitLines();
    startClock(m_timer, "Timer1", this, &TypewriterLabel::step);
}

void TypewriterLabel::step()
{
    const QString &text = description();
    m_typed += 1;
    if (m_typed > text.size())
        m_typed = 0;
    setText(text.left(m_typed) + kBar);
    adjustSize();
}

void TypewriterLabel::splitLines()
{
    m_lines.clear();
    qsizetype start = 0;
    const QString &text = description();
    while (start < text.size() || m_lines.empty()) {
        const qsizetype lf = text.indexOf(u'\n', start);
        const qsizetype end = lf < 0 ? text.size() : lf + 1;
        m_lines.push_back({start, end, nullptr});
        start = end;
    }
    const QFontMetricsF metrics(font());
    m_lineHeight = qRound(metrics.height());
    m_barWidth = metrics.horizontalAdvance(kBar);
}

const QTextLayout &TypewriterLabel::layoutOf(int line) const
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
        l.layout->createLine().setPosition(QPointF(0, line * m_lineHeight));
        l.layout->endLayout();
    }
    return *l.layout;
}

std::optional<TypewriterLabel::Typed> TypewriterLabel::typed() const
{
    const QString caption = text();
    const qsizetype count = caption.size() - 1;
    if (count < 0 || caption.back() != kBar ||
        QStringView(description()).left(count) != QStringView(caption).left(count))
        return std::nullopt;
    int line = 0;
    while (line + 1 < int(m_lines.size()) && m_lines[std::size_t(line) + 1].start <= count)
        ++line;
    const qsizetype column = count - m_lines[std::size_t(line)].start;
    return Typed{line, layoutOf(line).lineAt(0).cursorToX(int(column))};
}

QSize TypewriterLabel::sizeHint() const
{
    const auto t = typed();
    if (!t)
        return QLabel::sizeHint();
    qreal width = t->barX + m_barWidth;
    for (int i = 0; i < t->line; ++i)
        width = std::max(width, layoutOf(i).lineAt(0).naturalTextWidth());
    return {int(std::ceil(width)), (t->line + 1) * m_lineHeight};
}

void TypewriterLabel::paintEvent(QPaintEvent *event)
{
    const auto t = typed();
    if (!t) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < t->line; ++i)
        layoutOf(i).draw(&painter, QPointF(0, 0));
    const QTextLine current = layoutOf(t->line).lineAt(0);
    const qreal y = current.y();
    painter.save();
    painter.setClipRect(QRectF(0, y, t->barX, m_lineHeight));
    current.draw(&painter, QPointF(0, 0));
    painter.restore();
    painter.setFont(font());
    painter.drawText(QPointF(t->barX, y + current.ascent()), QString(kBar));
}

void TypewriterLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        splitLines();
    QLabel::changeEvent(event);
}

} // namespace mirthkey
