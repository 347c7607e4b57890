// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorText.h"

#include <cerrno>
#include <iterator>

namespace mirthkey {

namespace {

// Indexed by Failure.
constexpr const char *kFailures[] = {
    "不是普通文件，不能替换",
    "没有写入权限",
    "这是一个文件夹，不能作为文件保存",
    "系统的链接保护不允许通过这个符号链接保存",
    "保存期间该文件名被指向了另一个文件，没有写入",
    "无法先备份原有的内容，文件未改动",
    "保存文件时出错",
};
// Failure::System has the system's words instead.
static_assert(std::size(kFailures) == size_t(Failure::System));

struct Reason {
    int error;
    const char *text; // UTF-8
};

// The errors that opening, writing, syncing, renaming and removing a file can give.
constexpr Reason kReasons[] = {
    {EPERM, "不允许执行此操作"},
    {ENOENT, "找不到该文件或文件夹"},
    {EIO, "读写存储设备时出错"},
    {ENXIO, "设备不存在或未就绪"},
    {EBADF, "文件未能正确打开"},
    {EAGAIN, "资源暂时不可用，请稍后再试"},
    {ENOMEM, "内存不足"},
    {EACCES, kFailures[int(Failure::ReadOnlyFile)]},
    {EFAULT, "内部错误：地址无效"},
    {EBUSY, "文件或设备正忙"},
    {EEXIST, "文件已存在"},
    {EXDEV, "不能跨文件系统替换文件"},
    {ENODEV, "设备不存在"},
    {ENOTDIR, "路径中的某一项不是文件夹"},
    {EISDIR, kFailures[int(Failure::Folder)]},
    {EINVAL, "文件名或参数无效"},
    {ENFILE, "系统打开的文件过多"},
    {EMFILE, "程序打开的文件过多"},
    {ETXTBSY, "文件正在被执行，不能写入"},
    {EFBIG, "文件超过了允许的大小"},
    {ENOSPC, "磁盘空间不足"},
    {ESPIPE, "无法在此文件中定位"},
    {EROFS, "文件系统是只读的"},
    {EMLINK, "链接数过多"},
    {EPIPE, "管道已断开"},
    {ENAMETOOLONG, "文件名太长"},
    {ENOSYS, "系统不支持此功能"},
    {ELOOP, "符号链接的层数过多"},
    {EOVERFLOW, "文件太大，无法处理"},
    {EILSEQ, "文字无法转换为所需的编码"},
    {EOPNOTSUPP, "文件系统不支持此操作"},
#ifdef EDQUOT
    {EDQUOT, "超出了磁盘配额"},
#endif
#ifdef ESTALE
    {ESTALE, "文件已失效（可能在网络上被删除）"},
#endif
    {ETIMEDOUT, "操作超时"},
    {ECONNREFUSED, "连接被拒绝"},
#ifdef EHOSTDOWN
    {EHOSTDOWN, "主机已关闭"},
#endif
    {EHOSTUNREACH, "无法访问主机"},
    {ENOTCONN, "连接已断开"},
    {ENOLCK, "无法锁定文件"},
    {EINTR, "操作被中断"},
    {ECANCELED, "操作已取消"},
#ifdef ENOMEDIUM
    {ENOMEDIUM, "驱动器中没有介质"},
#endif
#ifdef EREMOTEIO
    {EREMOTEIO, "远程读写出错"},
#endif
};
} // namespace

QString failureText(Failure failure)
{
    return QString::fromUtf8(kFailures[int(failure)]);
}

std::optional<QString> reasonOf(const Status &status)
{
    if (status.ok())
        return std::nullopt;
    if (status.failure() == Failure::System)
        return systemErrorText(status.code());
    QString reason = failureText(status.failure());
    if (status.hasCode())
        reason += QStringLiteral("（") + systemErrorText(status.code()) + QStringLiteral("）");
    return reason;
}

QString errorText(int error)
{
    for (const Reason &reason : kReasons) {
        if (reason.error == error)
            return QString::fromUtf8(reason.text);
    }
    return QStringLiteral("未知的系统错误（错误号 %1）").arg(error);
}

} // namespace mirthkey
