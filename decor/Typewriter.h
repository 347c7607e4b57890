#pragma once

#include <QString>

class QLabel;

namespace mirthkey {

// The description that types itself out: three lines joined by CR LF, 70 UTF-16 units.
extern const QString kDescription;

// One step of the typewriter (a tick of Timer1): one more character of the description
// in `label1`, followed by the cursor bar "|"; after the whole text, the bar alone.
// `typedCount` is the typewriter's counter, 0..70, owned by the window.
void typewriterStep(QLabel &label1, int &typedCount);

// One step of the blinking author label (a tick of Timer2): red turns blue, any other
// colour turns red.
void blinkStep(QLabel &label3);

} // namespace mirthkey
