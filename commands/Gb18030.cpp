// SPDX-License-Identifier: GPL-3.0-or-later
#include "Gb18030.h"

#include "Gb18030Table.h"
#include "TextPieces.h"

#include <QString>
#include <QSysInfo>
#include <algorithm>
#include <climits>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <iconv.h>
#endif

namespace mirthkey {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isLoneSurrogate(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 == text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text[i - 1].isHighSurrogate();
    return false;
}

// `text` with every lone surrogate replaced, or a null string when it has none.
QString withoutLoneSurrogates(QStringView text)
{
    qsizetype first = 0;
    while (first < text.size() && !isLoneSurrogate(text, first))
        ++first;
    if (first == text.size())
        return QString();
    QString out = text.toString();
    for (qsizetype i = first; i < out.size(); ++i) {
        if (isLoneSurrogate(text, i))
            out[i] = QChar(kReplacement);
    }
    return out;
}

#ifdef _WIN32

constexpr UINT kGb18030CodePage = 54936;

QString lastErrorText()
{
    return QStringLiteral("WideCharToMultiByte error %1").arg(GetLastError());
}

void encode(QStringView text, QByteArray &out)
{
    // Windows has GB18030 as code page 54936; Wine, for one, does not.
    if (!IsValidCodePage(kGb18030CodePage)) {
        gb18030::encodeWithTable(text, out);
        return;
    }
    // The converter counts in int; take the text in pieces that never split a pair.
    constexpr qsizetype kPiece = INT_MAX / 8;
    forEachPiece(text, kPiece, [&out](QStringView piece) {
        const auto *source = reinterpret_cast<LPCWCH>(piece.utf16());
        const int length = int(piece.size());
        // Code page 54936 takes no flags and no default character.
        const int size =
            WideCharToMultiByte(kGb18030CodePage, 0, source, length, nullptr, 0, nullptr, nullptr);
        if (size <= 0)
            throw EncodingError(lastErrorText().toStdString());
        const qsizetype start = out.size();
        out.resize(start + size);
        if (WideCharToMultiByte(kGb18030CodePage, 0, source, length, out.data() + start, size,
                                nullptr, nullptr) != size)
            throw EncodingError(lastErrorText().toStdString());
        return true;
    });
}

#else

using gb18030::legacyCode;
using gb18030::LegacyCode;

class Converter {
public:
    Converter()
        : m_cd(iconv_open("GB18030",
                          QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE"))
    {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): (iconv_t)-1 is iconv_open's failure value
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw EncodingError(std::string("GB18030: ") + std::strerror(errno));
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    operator iconv_t() const { return m_cd; }

private:
    iconv_t m_cd;
};

void encode(QStringView text, QByteArray &out)
{
    const Converter cd;
    // iconv takes a non-const pointer but does not write through it.
    char *const begin = reinterpret_cast<char *>(const_cast<char16_t *>(text.utf16()));
    char *in = begin;
    size_t inLeft = size_t(text.size()) * sizeof(char16_t);
    // Codes and Chinese need one byte per UTF-16 byte at most; anything rarer grows it.
    out.resize(qsizetype(inLeft));
    qsizetype written = 0;
    while (inLeft > 0) {
        char *next = out.data() + written;
        size_t outLeft = size_t(out.size() - written);
        const size_t result = iconv(cd, &in, &inLeft, &next, &outLeft);
        written = next - out.data();
        if (result != size_t(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() + std::max(qsizetype(inLeft), qsizetype(16)));
            continue;
        }
        const int error = errno;
        const LegacyCode *code =
            error == EILSEQ ? legacyCode(text[(in - begin) / qsizetype(sizeof(char16_t))].unicode())
                            : nullptr;
        if (!code)
            throw EncodingError(std::string("GB18030: ") + std::strerror(error));
        if (out.size() - written < 2)
            out.resize(out.size() + 16);
        out[written++] = char(code->lead);
        out[written++] = char(code->trail);
        in += sizeof(char16_t);
        inLeft -= sizeof(char16_t);
    }
    out.resize(written);
}

#endif

} // namespace

QByteArray toGb18030(QStringView text)
{
    QByteArray out;
    if (text.isEmpty())
        return out;
    const QString repaired = withoutLoneSurrogates(text);
    encode(repaired.isNull() ? text : QStringView(repaired), out);
    return out;
}

} // namespace mirthkey
