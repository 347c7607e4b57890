#include "TypedLabel.h"

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

TypedLabel::TypedLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent) {}

void TypedLabel::setSourceText(const QString &source)
{
    m_source = source;
    splitLines();
    updateGeometry();
    update();
}

void TypedLabel::splitLines()
{
    m_lines.clear();
    qsizetype start = 0;
    while (start < m_source.size() || m_lines.empty()) {
        const qsizetype lf = m_source.indexOf(u'\n', start);
        const qsizetype end = lf < 0 ? m_source.size() : lf + 1;
        m_lines.push_back({start, end, nullptr});
        start = end;
    }
    const QFontMetricsF metrics(font());
    m_lineHeight = qRound(metrics.height());
    m_barWidth = metrics.horizontalAdvance(kBar);
}

const QTextLayout &TypedLabel::layoutOf(int line) const
{
    const Line &l = m_lines[std::size_t(line)];
    if (!l.layout) {
        // Same length as the source line, so that caption positions map one to one:
        // the line break draws as nothing.
        QString shown = m_source.mid(l.start, l.end - l.start);
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

std::optional<TypedLabel::Typed> TypedLabel::typed() const
{
    const QString caption = text();
    const qsizetype count = caption.size() - 1;
    if (m_source.isEmpty() || count < 0 || caption.back() != kBar ||
        QStringView(m_source).left(count) != QStringView(caption).left(count))
        return std::nullopt;
    int line = 0;
    while (line + 1 < int(m_lines.size()) && m_lines[std::size_t(line) + 1].start <= count)
        ++line;
    const qsizetype column = count - m_lines[std::size_t(line)].start;
    return Typed{line, layoutOf(line).lineAt(0).cursorToX(int(column))};
}

QSize TypedLabel::sizeHint() const
{
    const auto t = typed();
    if (!t)
        return QLabel::sizeHint();
    qreal width = t->barX + m_barWidth;
    for (int i = 0; i < t->line; ++i)
        width = std::max(width, layoutOf(i).lineAt(0).naturalTextWidth());
    return {int(std::ceil(width)), (t->line + 1) * m_lineHeight};
}

void TypedLabel::paintEvent(QPaintEvent *event)
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

void TypedLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange && !m_source.isEmpty())
        splitLines();
    QLabel::changeEvent(event);
}

} // namespace mirthkey
