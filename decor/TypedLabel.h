#pragma once

#include <QLabel>
#include <QTextLayout>
#include <optional>

namespace mirthkey {

// The label the description is typed into. Its caption is always a beginning of one
// known text followed by the cursor bar, so the whole text is laid out once and every
// caption is drawn and measured from that layout: a tick costs no text shaping. Any
// other caption is drawn by QLabel as usual.
class TypedLabel final : public QLabel {
    Q_OBJECT
public:
    explicit TypedLabel(const QString &caption, QWidget *parent = nullptr);

    // The text whose beginnings the label shows.
    void setSourceText(const QString &source);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Typed {
        int line;   // the line the bar stands on
        qreal barX; // where the bar starts on it
    };
    // How far the caption reaches into the source; nothing when it is another text.
    std::optional<Typed> typed() const;
    void layOut();

    QString m_source;
    QTextLayout m_layout;
    int m_lineHeight = 0;
    qreal m_barWidth = 0;
};

} // namespace mirthkey
