// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The test program's own fchmod() and fsetxattr(), which the file writer linked into it
// calls instead of the C library's: they pass each call on to the system, or fail it as a
// file system that cannot hold a mode or an attribute does.

namespace mirthkey::test {

// While it lives, every call of `call` ("fchmod" or "fsetxattr") fails with `error`.
class RefusedCall {
public:
    RefusedCall(const char *call, int error);
    ~RefusedCall();
    RefusedCall(const RefusedCall &) = delete;
    RefusedCall &operator=(const RefusedCall &) = delete;
};

// How often `call` was refused since the last RefusedCall was made.
int refusals(const char *call);

} // namespace mirthkey::test
