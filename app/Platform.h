#pragma once

#include <QDate>
#include <QString>
#include <QUrl>
#include <optional>

class QWidget;

namespace mirthkey {

// Message box styles: an icon plus a button set, as the program's texts use them.
namespace Style {
inline constexpr int OkOnly = 0;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
} // namespace Style

// Answers of a message box.
namespace Answer {
inline constexpr int Ok = 1;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace Answer

// Everything the program asks of the platform that a test must see or answer.
// The window and its handlers reach the outside world only through this.
class Platform {
public:
    virtual ~Platform() = default;

    // Modal message box; returns Answer::Ok, Answer::Yes or Answer::No.
    // `style` is an icon (16, 32, 48, 64) plus a button set (0 OK, 4 Yes and No);
    // the first button is the default.
    virtual int messageBox(QWidget *parent, const QString &prompt, int style,
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
