// SPDX-License-Identifier: GPL-3.0-or-later
// Build-time generator of the version record for ELF builds.
//
//   mirthkey_versioninfo_gen <input> <output.cpp> <output.bin>
//
// The input holds UTF-8 lines "name=value": file-version, product-version (a.b.c.d), language,
// codepage (numbers, 0x prefix allowed), and any number of "string=Key=Value" lines kept in
// their order. The output is the VS_VERSIONINFO block a resource compiler makes from the
// equivalent VERSIONINFO statement: as raw bytes (.bin) and as a C++ array placed in the
// .mirthkey_version section (.cpp).
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::u16string utf16(const std::string &utf8)
{
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int extra = lead < 0x80   ? 0
                          : lead < 0xc0 ? -1
                          : lead < 0xe0 ? 1
                          : lead < 0xf0 ? 2
                          : lead < 0xf8 ? 3
                                        : -1;
        if (extra < 0 || utf8.size() - i <= static_cast<std::size_t>(extra))
            throw std::runtime_error("invalid UTF-8 in: " + utf8);
        char32_t code = extra == 0 ? lead : lead & (0x3f >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xc0) != 0x80)
                throw std::runtime_error("invalid UTF-8 in: " + utf8);
            code = (code << 6) | (next & 0x3f);
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xd800 + (code >> 10));
            out += static_cast<char16_t>(0xdc00 + (code & 0x3ff));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

void put16(Bytes &out, std::uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void put32(Bytes &out, std::uint32_t value)
{
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

void putText(Bytes &out, const std::u16string &text)
{
    for (char16_t unit : text)
        put16(out, unit);
    put16(out, 0);
}

void align(Bytes &out)
{
    while (out.size() % 4 != 0)
        out.push_back(0);
}

// One block: wLength, wValueLength, wType, key, padding, value, then the aligned children.
// wLength covers everything up to the end of the last child, but not the padding after it.
struct Block {
    std::string key;
    bool text = true;
    Bytes value;
    std::uint32_t valueLength = 0; // characters for text, bytes for binary values
    std::vector<Block> children;
};

void append(Bytes &out, const Block &block)
{
    const std::size_t start = out.size();
    put16(out, 0);
    put16(out, block.valueLength);
    put16(out, block.text ? 1 : 0);
    putText(out, utf16(block.key));
    align(out);
    out.insert(out.end(), block.value.begin(), block.value.end());
    for (const Block &child : block.children) {
        align(out);
        append(out, child);
    }
    const std::size_t length = out.size() - start;
    if (length > 0xffff)
        throw std::runtime_error("version record too large");
    out[start] = static_cast<unsigned char>(length);
    out[start + 1] = static_cast<unsigned char>(length >> 8);
}

struct Input {
    std::uint32_t file[2] = {0, 0}; // MS, LS
    std::uint32_t product[2] = {0, 0};
    std::uint32_t language = 0x0409;
    std::uint32_t codepage = 1200;
    std::vector<std::pair<std::string, std::string>> strings;
};

std::uint32_t number(const std::string &text, std::uint32_t limit)
{
    std::size_t used = 0;
    const unsigned long value = std::stoul(text, &used, 0);
    if (used != text.size() || value > limit)
        throw std::runtime_error("bad number: " + text);
    return static_cast<std::uint32_t>(value);
}

void parseVersion(const std::string &text, std::uint32_t (&out)[2])
{
    std::uint32_t parts[4] = {0, 0, 0, 0};
    std::istringstream in(text);
    std::string part;
    for (std::uint32_t &value : parts) {
        if (!std::getline(in, part, '.'))
            throw std::runtime_error("bad version: " + text);
        value = number(part, 0xffff);
    }
    out[0] = (parts[0] << 16) | parts[1];
    out[1] = (parts[2] << 16) | parts[3];
}

Input readInput(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    Input input;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string::npos)
            continue;
        const std::string name = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (name == "file-version")
            parseVersion(value, input.file);
        else if (name == "product-version")
            parseVersion(value, input.product);
        else if (name == "language")
            input.language = number(value, 0xffff);
        else if (name == "codepage")
            input.codepage = number(value, 0xffff);
        else if (name == "string" && value.find('=') != std::string::npos)
            input.strings.emplace_back(value.substr(0, value.find('=')),
                                       value.substr(value.find('=') + 1));
        else
            throw std::runtime_error("unknown line: " + line);
    }
    return input;
}

Bytes buildRecord(const Input &input)
{
    Block root{"VS_VERSION_INFO", false, {}, 52, {}};
    for (std::uint32_t word : {0xFEEF04BDu, 0x00010000u, input.file[0], input.file[1],
                               input.product[0], input.product[1], 0x3fu, 0u,
                               0x40004u /* VOS_NT_WINDOWS32 */, 1u /* VFT_APP */, 0u, 0u, 0u})
        put32(root.value, word);

    char tableKey[9];
    std::snprintf(tableKey, sizeof tableKey, "%04x%04x", static_cast<unsigned>(input.language),
                  static_cast<unsigned>(input.codepage));
    Block table{tableKey, true, {}, 0, {}};
    for (const auto &[key, text] : input.strings) {
        Block entry{key, true, {}, 0, {}};
        const std::u16string units = utf16(text);
        putText(entry.value, units);
        entry.valueLength = static_cast<std::uint32_t>(units.size() + 1);
        table.children.push_back(entry);
    }
    Block translation{"Translation", false, {}, 4, {}};
    put16(translation.value, input.language);
    put16(translation.value, input.codepage);

    root.children.push_back({"StringFileInfo", true, {}, 0, {table}});
    root.children.push_back({"VarFileInfo", true, {}, 0, {translation}});
    Bytes out;
    append(out, root);
    return out;
}

void writeSource(const std::string &path, const Bytes &record)
{
    std::ofstream out(path, std::ios::binary);
    out << "// Generated by mirthkey_versioninfo_gen; do not edit.\n"
           "// The version record, kept in a section of its own. 'used' and 'retain' keep the\n"
           "// compiler and the linker's section garbage collection from dropping it.\n"
           "#if defined(__has_attribute)\n#if __has_attribute(retain)\n"
           "#define MIRTHKEY_VERSION_RETAIN __attribute__((retain))\n#endif\n#endif\n"
           "#ifndef MIRTHKEY_VERSION_RETAIN\n#define MIRTHKEY_VERSION_RETAIN\n#endif\n\n"
           "extern \"C\" __attribute__((section(\".mirthkey_version\"), used, aligned(4)))\n"
           "MIRTHKEY_VERSION_RETAIN const unsigned char mirthkey_version_record["
        << record.size() << "] = {";
    for (std::size_t i = 0; i < record.size(); ++i)
        out << (i % 16 == 0 ? "\n    " : " ") << static_cast<unsigned>(record[i]) << ',';
    out << "\n};\n";
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::cerr << "usage: " << argv[0] << " <input> <output.cpp> <output.bin>\n";
        return 2;
    }
    try {
        const Bytes record = buildRecord(readInput(argv[1]));
        writeSource(argv[2], record);
        std::ofstream bin(argv[3], std::ios::binary);
        bin.write(reinterpret_cast<const char *>(record.data()),
                  static_cast<std::streamsize>(record.size()));
        if (!bin)
            throw std::runtime_error(std::string("cannot write ") + argv[3]);
    } catch (const std::exception &error) {
        std::cerr << argv[0] << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}
