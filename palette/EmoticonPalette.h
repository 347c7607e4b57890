// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "EmoticonButton.h"
#include "EmoticonTable.h"
#include "Frame.h"

#include <QImage>
#include <array>
#include <future>
#include <vector>

namespace mirthkey {

// The emoticon palette: a frame that holds the 96 picture buttons `Command1` to `Command96`,
// 16 columns by 6 rows numbered row by row, each showing its emoticon's picture. A click on
// a button, or its activation from the keyboard, emits the button's code; what becomes of
// the code is the window's business.
class EmoticonPalette final : public Frame {
    Q_OBJECT
public:
    explicit EmoticonPalette(const QString &caption, QWidget *parent = nullptr);

    // Button `number` (1..96). The window puts them into its tab order in this order.
    EmoticonButton *button(int number) const { return m_buttons.at(std::size_t(number - 1)); }

signals:
    // An emoticon was chosen: `code` is its code, e.g. "/wx".
    void emoticonChosen(const QString &code);

private:
    EmoticonPalette(std::future<std::vector<QImage>> pictures, const QString &caption,
                    QWidget *parent);

    std::array<EmoticonButton *, kEmoticonCount> m_buttons{};
};

} // namespace mirthkey
