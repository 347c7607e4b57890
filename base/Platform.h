// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QUrl>
#include <optional>

class QWidget;

namespace mirthkey {

// A message box's icon. The values are the icon's part of the classic style number.
enum class Icon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };

// A message box's buttons; the first one is the default. The values are the button set's
// part of the classic style number.
enum class Buttons { Ok = 0, YesNo = 4 };

// The button that closed a message box, with its classic answer number.
enum class Answer { Ok = 1, Yes = 6, No = 7 };

// Everything the program asks of the platform that a test must see or answer.
// The window and its handlers reach the outside world only through this.
class Platform {
public:
    virtual ~Platform() = default;

    // Modal message box; returns the button that closed it. A Yes/No box closes only
    // through one of its two buttons.
    virtual Answer messageBox(QWidget *parent, const QString &prompt, Icon icon, Buttons buttons,
                              const QString &caption) = 0;

    // Modal Save As question. `filter` is in the "description|pattern|" form.
    // Returns the chosen path, or nothing when the user cancels.
    virtual std::optional<QString> saveFileName(QWidget *parent, const QString &title,
                                                const QString &filter) = 0;

    virtual void beep() = 0;

    // Hands a web or mailto address to the program registered for it.
    virtual void openUrl(const QUrl &target) = 0;

    // Removes whatever the clipboard holds, in any format.
    virtual void clearClipboard() = 0;
    // Puts plain text on the clipboard.
    virtual void setClipboardText(const QString &text) = 0;

    // Today's local date.
    virtual QDate today() = 0;
};

} // namespace mirthkey
