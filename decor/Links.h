#pragma once

#include <QUrl>

class QLabel;

namespace mirthkey {

class Platform;

// Where the two link labels lead; constants of their own, never read from a caption.
QUrl webTarget();
QUrl mailTarget();

// Click of Label10 or Label7: the registered program opens the target. Nothing is
// shown whatever the outcome.
void openLink(Platform &platform, const QUrl &target);

// The pointer moved over a link label: it turns red and underlined.
void linkLabelMouseMove(QLabel &label);

// The pointer moved over the bare window surface: both links back to blue, no underline.
void windowSurfaceMouseMove(QLabel &label7, QLabel &label10);

} // namespace mirthkey
