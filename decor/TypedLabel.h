#pragma once

#include <QLabel>
#include <QTextLayout>
#include <memory>
#include <optional>
#include <vector>

namespace mirthkey {

// The label the description is typed into. Its caption is always a beginning of one
// known text followed by the cursor bar, so each line of that text is laid out once,
// when the typing first reaches it, and every caption is drawn and measured from those
// layouts: a tick costs no text shaping. Any other caption is drawn by QLabel as usual.
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
    struct Line {
        qsizetype start;                             // where the line starts in the source
        qsizetype end;                               // behind its line break
        mutable std::unique_ptr<QTextLayout> layout; // made on first use
    };
    struct Typed {
        int line;   // the line the bar stands on
        qreal barX; // where the bar starts on it
    };
    // How far the caption reaches into the source; nothing when it is another text.
    std::optional<Typed> typed() const;
    const QTextLayout &layoutOf(int line) const;
    void splitLines();

    QString m_source;
    std::vector<Line> m_lines;
    int m_lineHeight = 0;
    qreal m_barWidth = 0;
};

} // namespace mirthkey
