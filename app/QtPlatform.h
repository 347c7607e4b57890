// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Platform.h"

namespace mirthkey {

// The platform as Qt provides it: QMessageBox, QFileDialog, QClipboard,
// QDesktopServices, QApplication::beep and the system clock.
class QtPlatform final : public Platform {
public:
    Answer messageBox(QWidget *parent, const QString &prompt, Icon icon, Buttons buttons,
                      const QString &caption) override;
    std::optional<QString> saveFileName(QWidget *parent, const QString &title,
                                        const QString &filter) override;
    void beep() override;
    void openUrl(const QUrl &target) override;
    void clearClipboard() override;
    void setClipboardText(const QString &text) override;
    QDate today() override;
};

} // namespace mirthkey
