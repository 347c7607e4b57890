// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorText.h"

namespace mirthkey {

QString systemErrorText(Status::Code code)
{
    return errorText(int(code));
}

} // namespace mirthkey
