// SPDX-License-Identifier: GPL-3.0-or-later
#include "Gb18030.h"

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

// Private-use characters that GB18030-2005, like Windows' code page 54936, encodes in
// two bytes. The 2022 edition, which the C library follows, gave those bytes to the
// standard characters these stood in for (vertical punctuation, a few rare ideographs)
// and left these without a code. They keep the bytes of 2005, which a reader of either
// edition shows as the intended character.
struct LegacyCode {
    char16_t unit;
    unsigned char lead;
    unsigned char trail;
};
constexpr LegacyCode kLegacyCodes[] = {
    {0xE78D, 0xA6, 0xD9}, {0xE78E, 0xA6, 0xDA}, {0xE78F, 0xA6, 0xDB}, {0xE790, 0xA6, 0xDC},
    {0xE791, 0xA6, 0xDD}, {0xE792, 0xA6, 0xDE}, {0xE793, 0xA6, 0xDF}, {0xE794, 0xA6, 0xEC},
    {0xE795, 0xA6, 0xED}, {0xE796, 0xA6, 0xF3}, {0xE816, 0xFE, 0x51}, {0xE817, 0xFE, 0x52},
    {0xE818, 0xFE, 0x53}, {0xE81E, 0xFE, 0x59}, {0xE826, 0xFE, 0x61}, {0xE82B, 0xFE, 0x66},
    {0xE82C, 0xFE, 0x67}, {0xE831, 0xFE, 0x6C}, {0xE832, 0xFE, 0x6D}, {0xE83B, 0xFE, 0x76},
    {0xE843, 0xFE, 0x7E}, {0xE854, 0xFE, 0x90}, {0xE855, 0xFE, 0x91}, {0xE864, 0xFE, 0xA0}};

const LegacyCode *legacyCode(char16_t unit)
{
    for (const LegacyCode &code : kLegacyCodes) {
        if (code.unit == unit)
            return &code;
    }
    return nullptr;
}

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
