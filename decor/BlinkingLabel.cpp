#include "BlinkingLabel.h"

namespace mirthkey {

namespace {
constexpr int kTickMilliseconds = 200;
} // namespace

BlinkingLabel::BlinkingLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent)
{
    setTextFormat(Qt::PlainText);
    m_timer.setInterval(kTickMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &BlinkingLabel::step);
}

void BlinkingLabel::step()
{
    setForeColor(*this, foreColor(*this) == ColorValue::Red ? ColorValue::Blue : ColorValue::Red);
}

} // namespace mirthkey
