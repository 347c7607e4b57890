#pragma once

#include <QString>

namespace mirthkey
{

class CompositionBox;
struct Emoticon;

// Click of emoticon button `number` (1..96): the focus goes back to the composition box,
// then the button's code replaces its selection, or goes in at the caret.
void insertEmoticon(CompositionBox &box, int number);

// What a screen reader says for a palette button: "微笑 /wx".
QString accessibleName(const Emoticon &emoticon);

// The button's picture in the resources: ":/emoticons/15.png".
QString picturePath(int number);

} // namespace mirthkey
