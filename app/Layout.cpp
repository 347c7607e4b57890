// SPDX-License-Identifier: GPL-3.0-or-later
#include "Layout.h"

#include "Actions.h"
#include "BuildInfo.h"

#include <stdexcept>

namespace mirthkey {

namespace {

constexpr std::optional<ColorValue> kDefault; // the style's own colour
constexpr ColorValue kWhite = ColorValue::White;
constexpr ColorValue kWindowColor = ColorValue::Window;

QString text(const char16_t *s)
{
    return QString::fromUtf16(s);
}

Control frame(const char *name, int left, int top, int width, int height, const char16_t *title)
{
    return {name, "Form2", Kind::Frame, {left, top, width, height}, text(title), kWindowColor};
}

Control label(const char *name, int left, int top, const char16_t *caption, Kind kind = Kind::Label)
{
    return {name, "Form2", kind, {left, top, 0, 0}, text(caption), kWindowColor};
}

std::vector<Control> buildLayout()
{
    std::vector<Control> all;
    Control palette = frame("Frame1", 150, 1005, 5820, 2370, u"ＱＱ表情列表区");
    palette.kind = Kind::Palette;
    all.push_back(palette);

    all.push_back(frame("Frame2", 150, 3420, 5805, 1575, u"表情代码生成区"));
    all.push_back({"Text1", "Frame2", Kind::TextBox, {60, 225, 5685, 1320}, {}, kWhite});

    all.push_back(frame("Frame4", 165, 5640, 5790, 570, u"功能操作处"));
    // Made from the right to the left, as the window was drawn.
    for (std::size_t i = kActionButtons.size(); i-- > 0;) {
        const ActionButton &a = kActionButtons[i];
        all.push_back({a.name,
                       "Frame4",
                       Kind::ActionButton,
                       {a.left, 180, a.width, 330},
                       text(a.caption),
                       kDefault});
    }

    all.push_back(label("Label4", 450, 6735, build::kRights));
    all.push_back(label("Label2", 345, 6390, u"作者："));
    all.push_back(label("Label3", 915, 6390, build::kAuthorNick, Kind::BlinkingLabel));
    all.push_back(label("Label6", 3045, 6270, u"E-mail:"));
    all.push_back(label("Label7", 3690, 6255, build::kAuthorEmail, Kind::LinkLabel));
    all.push_back(label("Label10", 3705, 6495, build::kWebsite, Kind::LinkLabel));
    all.push_back(label("Label9", 2955, 6495, u"Website:"));
    all.push_back({"Image97", "Form2", Kind::Image, {255, 0, 5610, 960}, {}, kDefault});

    Control typed = label("Label1", 240, 5040, u"label1", Kind::TypewriterLabel);
    typed.backgroundColor.reset(); // transparent: the window shows through
    all.push_back(typed);
    return all;
}

} // namespace

const std::vector<Control> &layoutTable()
{
    static const std::vector<Control> table = buildLayout();
    return table;
}

const Control &control(const QString &name)
{
    for (const Control &c : layoutTable()) {
        if (c.name == name)
            return c;
    }
    throw std::out_of_range("no control named " + name.toStdString());
}

} // namespace mirthkey
