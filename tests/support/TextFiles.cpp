// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextFiles.h"

#include <QFile>

namespace mirthkey::test {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace mirthkey::test
