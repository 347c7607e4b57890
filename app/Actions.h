// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Commands.h"

#include <array>

namespace mirthkey {

// What an action button does.
enum class Action { Copy, Clear, Save, Help, History, About };

// One action button in the frame `Frame4`: the window makes it from this row (name,
// caption, place) and connects its click to the command.
struct ActionButton {
    Action role;
    const char *name;        // objectName
    const char16_t *caption; // with '&' before the access key
    int left;                // in twips from the frame's left edge
    int width;               // in twips
    void (Commands::*command)();
};

// The action buttons from left to right, which is also their tab order after the palette.
inline constexpr std::array<ActionButton, 6> kActionButtons{{
    {Action::Copy, "Command97", u"复制(&C)", 255, 780, &Commands::copy},
    {Action::Clear, "Command98", u"清空(&E)", 1080, 780, &Commands::clear},
    {Action::Save, "Command99", u"保存(&S)", 1905, 780, &Commands::save},
    {Action::Help, "Command100", u"帮助(&H)", 2730, 825, &Commands::showHelp},
    {Action::History, "Command101", u"版本历史(&V)", 3600, 1140, &Commands::showHistory},
    {Action::About, "Command102", u"关于(&A)", 4785, 765, &Commands::showAbout},
}};

constexpr const ActionButton &actionButton(Action role)
{
    return kActionButtons.at(std::size_t(role));
}

} // namespace mirthkey
