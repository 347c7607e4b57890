// SPDX-License-Identifier: GPL-3.0-or-later
#include "Layout.h"

#include "Actions.h"
#include "BuildInfo.h"

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

Layout buildLayout()
{
    Layout l;
    l.palette = frame("Frame1", 150, 1005, 5820, 2370, u"ＱＱ表情列表区");
    l.palette.kind = Kind::Palette;

    l.compositionFrame = frame("Frame2", 150, 3420, 5805, 1575, u"表情代码生成区");
    l.compositionBox = {"Text1", "Frame2", Kind::TextBox, {60, 225, 5685, 1320}, {}, kWhite};

    l.actionFrame = frame("Frame4", 165, 5640, 5790, 570, u"功能操作处");
    for (std::size_t i = 0; i < kActionButtons.size(); ++i) {
        const ActionButton &a = kActionButtons[i];
        l.actionButtons[i] = {
            a.name,          "Frame4", Kind::ActionButton, {a.left, 180, a.width, 330},
            text(a.caption), kDefault};
    }

    l.rights = label("Label4", 450, 6735, build::kRights);
    l.authorCaption = label("Label2", 345, 6390, u"作者：");
    l.author = label("Label3", 915, 6390, build::kAuthorNick, Kind::BlinkingLabel);
    l.mailCaption = label("Label6", 3045, 6270, u"E-mail:");
    l.mailLink = label("Label7", 3690, 6255, build::kAuthorEmail, Kind::LinkLabel);
    l.webLink = label("Label10", 3705, 6495, build::kWebsite, Kind::LinkLabel);
    l.webCaption = label("Label9", 2955, 6495, u"Website:");
    l.banner = {"Image97", "Form2", Kind::Image, {255, 0, 5610, 960}, {}, kDefault};

    l.description = label("Label1", 240, 5040, u"label1", Kind::TypewriterLabel);
    l.description.backgroundColor.reset(); // transparent: the window shows through
    return l;
}

} // namespace

const Layout &windowLayout()
{
    static const Layout whole = buildLayout();
    return whole;
}

std::vector<Control> layoutTable()
{
    const Layout &l = windowLayout();
    std::vector<Control> all{l.palette, l.compositionFrame, l.compositionBox, l.actionFrame};
    all.insert(all.end(), l.actionButtons.begin(), l.actionButtons.end());
    all.insert(all.end(), {l.rights, l.authorCaption, l.author, l.mailCaption, l.mailLink,
                           l.webLink, l.webCaption, l.banner, l.description});
    return all;
}

} // namespace mirthkey
