// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirthkey {

// The reason for a failed file operation, in Simplified Chinese, for the error number
// `error` (an errno value). Our own texts, so the message reads the same whatever the
// system's language or the translations installed; an error without a text of its own is
// named by its number.
QString errorText(int error);

} // namespace mirthkey
