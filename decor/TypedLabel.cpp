#include "decor/TypedLabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLine>
#include <cmath>

namespace mirthkey {

namespace {
constexpr QChar kBar(u'|');
} // namespace

TypedLabel::TypedLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent) {}

void TypedLabel::setSourceText(const QString &source)
{
    m_source = source;
    layOut();
    updateGeometry();
    update();
}

void TypedLabel::layOut()
{
    // Same length as the source, so that caption positions are layout positions:
    // CR draws as nothing, LF ends the line.
    QString shown = m_source;
    shown.replace(u'\r', QChar(0x200B)).replace(u'\n', QChar::LineSeparator);
    m_layout.clearLayout();
    m_layout.setText(shown);
    m_layout.setFont(font());
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::NoWrap);
    m_layout.setTextOption(option);
    const QFontMetricsF metrics(font());
    m_lineHeight = qRound(metrics.height());
    m_barWidth = metrics.horizontalAdvance(kBar);
    m_layout.beginLayout();
    for (int y = 0;; y += m_lineHeight) {
        QTextLine line = m_layout.createLine();
        if (!line.isValid())
            break;
        line.setPosition(QPointF(0, y));
    }
    m_layout.endLayout();
}

std::optional<TypedLabel::Typed> TypedLabel::typed() const
{
    const QString caption = text();
    const qsizetype count = caption.size() - 1;
    if (m_source.isEmpty() || count < 0 || caption.back() != kBar ||
        QStringView(m_source).left(count) != QStringView(caption).left(count))
        return std::nullopt;
    int line = 0;
    while (line + 1 < m_layout.lineCount() && m_layout.lineAt(line + 1).textStart() <= count)
        ++line;
    return Typed{line, m_layout.lineAt(line).cursorToX(int(count))};
}

QSize TypedLabel::sizeHint() const
{
    const auto t = typed();
    if (!t)
        return QLabel::sizeHint();
    qreal width = t->barX + m_barWidth;
    for (int i = 0; i < t->line; ++i)
        width = std::max(width, m_layout.lineAt(i).naturalTextWidth());
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
        m_layout.lineAt(i).draw(&painter, QPointF(0, 0));
    const QTextLine current = m_layout.lineAt(t->line);
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
        layOut();
    QLabel::changeEvent(event);
}

} // namespace mirthkey
