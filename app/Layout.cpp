// SPDX-License-Identifier: GPL-3.0-or-later
#include "Layout.h"

#include "BuildInfo.h"

#include <stdexcept>

namespace mirthkey {

namespace {

constexpr std::optional<ColorValue> kDefault; // the style's own colour
constexpr ColorValue kWhite = ColorValue::White;
constexpr ColorValue kRed = ColorValue::Red;
constexpr ColorValue kBlue = ColorValue::Blue;
constexpr ColorValue kWindowColor = ColorValue::Window;

QString text(const char16_t *s)
{
    return QString::fromUtf16(s);
}

Control frame(const char *name, int left, int top, int width, int height, const char16_t *title,
              int tab)
{
    return {name,         "Form2", Kind::Frame, {left, top, width, height}, text(title), kDefault,
            kWindowColor, false,   tab};
}

Control label(const char *name, int left, int top, const char16_t *caption,
              std::optional<ColorValue> color, int tab, Kind kind = Kind::Label)
{
    return {name, "Form2", kind, {left, top, 0, 0}, text(caption), color, kWindowColor, false, tab};
}

Control actionButton(int number, int left, int width, const char16_t *caption)
{
    return {QStringLiteral("Command%1").arg(number),
            "Frame4",
            Kind::ActionButton,
            {left, 180, width, 330},
            text(caption),
            kDefault,
            kDefault,
            false,
            number + 11};
}

std::vector<Control> buildLayout()
{
    std::vector<Control> all;
    Control palette = frame("Frame1", 150, 1005, 5820, 2370, u"ＱＱ表情列表区", 0);
    palette.kind = Kind::Palette;
    all.push_back(palette);

    all.push_back(frame("Frame2", 150, 3420, 5805, 1575, u"表情代码生成区", 3));
    all.push_back(
        {"Text1", "Frame2", Kind::TextBox, {60, 225, 5685, 1320}, {}, kDefault, kWhite, false, 4});

    all.push_back(frame("Frame4", 165, 5640, 5790, 570, u"功能操作处", 2));
    all.push_back(actionButton(102, 4785, 765, u"关于(&A)"));
    all.push_back(actionButton(101, 3600, 1140, u"版本历史(&V)"));
    all.push_back(actionButton(100, 2730, 825, u"帮助(&H)"));
    all.push_back(actionButton(99, 1905, 780, u"保存(&S)"));
    all.push_back(actionButton(98, 1080, 780, u"清空(&E)"));
    all.push_back(actionButton(97, 255, 780, u"复制(&C)"));

    all.push_back(label("Label4", 450, 6735, build::kRights, kDefault, 107));
    all.push_back(label("Label2", 345, 6390, u"作者：", kDefault, 106));
    Control author = label("Label3", 915, 6390, build::kAuthorNick, kRed, 105, Kind::BlinkingLabel);
    author.bold = true;
    all.push_back(author);
    all.push_back(label("Label6", 3045, 6270, u"E-mail:", kDefault, 104));
    all.push_back(label("Label7", 3690, 6255, build::kAuthorEmail, kBlue, 103, Kind::LinkLabel));
    all.push_back(label("Label10", 3705, 6495, build::kWebsite, kBlue, 102, Kind::LinkLabel));
    all.push_back(label("Label9", 2955, 6495, u"Website:", kDefault, 101));
    all.push_back({"Image97", "Form2", Kind::Image, {255, 0, 5610, 960}, {}, kDefault, kDefault});

    Control typed = label("Label1", 240, 5040, u"label1", kBlue, 1, Kind::TypewriterLabel);
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
