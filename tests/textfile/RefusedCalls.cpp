// SPDX-License-Identifier: GPL-3.0-or-later
#include "RefusedCalls.h"

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

std::string refusedCall; // empty: none
int refusedWith = 0;
int refused = 0;

bool refuse(const char *call)
{
    if (refusedCall.empty() || refusedCall != call)
        return false;
    ++refused;
    errno = refusedWith;
    return true;
}

} // namespace

namespace mirthkey::test {

RefusedCall::RefusedCall(const char *call, int error)
{
    refusedCall = call;
    refusedWith = error;
    refused = 0;
}

RefusedCall::~RefusedCall()
{
    refusedCall.clear();
}

int refusals(const char *call)
{
    return !refusedCall.empty() && refusedCall == call ? refused : 0;
}

} // namespace mirthkey::test

extern "C" int fchmod(int fd, mode_t mode) noexcept
{
    return refuse("fchmod") ? -1 : int(::syscall(SYS_fchmod, fd, mode));
}

extern "C" int fsetxattr(int fd, const char *name, const void *value, size_t size,
                         int flags) noexcept
{
    return refuse("fsetxattr") ? -1 : int(::syscall(SYS_fsetxattr, fd, name, value, size, flags));
}
