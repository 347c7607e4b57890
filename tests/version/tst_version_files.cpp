// SPDX-License-Identifier: GPL-3.0-or-later
// CFileVersion on hand-made PE and ELF files: good ones in every layout we read, and broken ones
// grouped by fault, each of which must give false and leave earlier numbers alone.
#include "CFileVersion.h"
#include "VersionTestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#endif
#include <vector>

using namespace versiontest;

namespace {

// One change to a file: `width` little-endian bytes of value at `at`, or a cut there (width 0).
struct Patch {
    qsizetype at;
    int width;
    quint64 value = 0;
};
struct Fault {
    const char *name;
    std::vector<Patch> patches;
};

QByteArray applyPatches(QByteArray file, const std::vector<Patch> &patches)
{
    for (const Patch &p : patches) {
        if (p.width == 0)
            file.truncate(p.at);
        for (int i = 0; i < p.width; ++i)
            file[p.at + i] = static_cast<char>(p.value >> (8 * i));
    }
    return file;
}

// A bare VS_VERSIONINFO root block whose product version (99.99.99.99) differs from its file
// version, so that reading the wrong one shows.
QByteArray versionRecord(quint16 major, quint16 minor, quint16 revision, quint16 build)
{
    std::vector<Patch> fields{{0, 2, 92},       {2, 2, 52},        {40, 4, 0xFEEF04BD},
                              {44, 4, 0x10000}, {48, 2, minor},    {50, 2, major},
                              {52, 2, build},   {54, 2, revision}, {56, 8, 0x0063006300630063}};
    const char16_t key[] = u"VS_VERSION_INFO";
    for (int i = 0; key[i] != 0; ++i)
        fields.push_back({6 + 2 * i, 2, key[i]});
    return applyPatches(QByteArray(92, '\0'), fields);
}

constexpr quint32 kSubdirectory = 0x80000000;

// DOS header, "PE\0\0" and COFF header at 64, optional header at 88, one section header, then
// the .rsrc section at file offset 0x200 / RVA 0x1000: the type directory (RT_ICON, then
// RT_VERSION), name and language directories, a spare directory, the data entry, the record.
struct PeLayout {
    explicit PeLayout(bool plus)
        : plus(plus), directories(optional + (plus ? 112 : 96)),
          sections(optional + (plus ? 240 : 224))
    {}
    quint32 rel(qsizetype at) const { return static_cast<quint32>(at - raw); }
    bool plus;
    qsizetype optional = 88, directories, sections;
    qsizetype raw = 0x200, root = 0x200, name = 0x220, language = 0x238, spare = 0x250,
              data = 0x268, record = 0x278, end = 0x278 + 92;
};

QByteArray makePe(const PeLayout &l, const QByteArray &record)
{
    const quint32 size = l.rel(l.end), sub = kSubdirectory;
    const qsizetype s = l.sections, d = l.directories, r = l.root, n = l.name, g = l.language;
    // clang-format off
    QByteArray pe = applyPatches(QByteArray(l.end, '\0'), {
        {0, 2, 0x5a4d}, {0x3c, 4, 64}, {64, 4, 0x4550}, {68, 2, l.plus ? 0x8664u : 0x14cu},
        {70, 2, 1}, {84, 2, quint64(s - 88)}, {88, 2, l.plus ? 0x20bu : 0x10bu},
        {d - 4, 4, 16}, {d + 16, 4, 0x1000}, {d + 20, 4, size},                  // directories
        {s, 5, 0x637273722e /* .rsrc */}, {s + 8, 4, size}, {s + 12, 4, 0x1000}, // section
        {s + 16, 4, size}, {s + 20, 4, quint64(l.raw)},
        {r + 14, 2, 2}, {r + 16, 4, 3}, {r + 20, 4, sub | l.rel(l.spare)},       // tree
        {r + 24, 4, 16}, {r + 28, 4, sub | l.rel(n)},
        {n + 14, 2, 1}, {n + 16, 4, 1}, {n + 20, 4, sub | l.rel(g)},
        {g + 14, 2, 1}, {g + 16, 4, 0x804}, {g + 20, 4, l.rel(l.data)},
        {l.spare + 14, 2, 1}, {l.spare + 16, 4, 0x409}, {l.spare + 20, 4, l.rel(l.data)},
        {l.data, 4, 0x1000 + l.rel(l.record)}, {l.data + 4, 4, 92}});
    // clang-format on
    return pe.replace(l.record, record.size(), record);
}

std::vector<Fault> peFaults(const PeLayout &l)
{
    const qsizetype d = l.directories, r = l.root, n = l.name, data = l.data, rec = l.record;
    const quint32 sub = kSubdirectory;
    // clang-format off
    return {
        // Truncated inside each structure the reader walks through.
        {"cut in DOS header", {{40, 0}}}, {"cut in COFF header", {{70, 0}}},
        {"cut in optional header", {{d + 18, 0}}}, {"cut in section table", {{l.sections + 20, 0}}},
        {"cut in type directory", {{r + 20, 0}}}, {"cut in name directory", {{n + 10, 0}}},
        {"cut in language directory", {{l.language + 20, 0}}},
        {"cut in data entry", {{data + 6, 0}}},
        {"cut in record key", {{rec + 20, 0}}}, {"cut in fixed info", {{rec + 60, 0}}},
        {"last byte missing", {{l.end - 1, 0}}},
        // Signatures and magic numbers.
        {"bad MZ", {{1, 1, 'X'}}}, {"bad PE signature", {{65, 1, 'F'}}},
        {"bad optional magic", {{l.optional, 2, 0x107}}}, {"bad record key", {{rec + 8, 1, 'X'}}},
        // Headers pointing outside their parent or the file.
        {"PE header past end", {{0x3c, 4, 0xfffffff0}}},
        {"too few data directories", {{d - 4, 4, 2}}},
        {"optional header too short", {{84, 2, 96}}}, {"65535 sections", {{70, 2, 0xffff}}},
        {"no resources", {{d + 20, 4, 0}}}, {"resources outside sections", {{d + 16, 4, 0x9000}}},
        {"resources larger than section", {{d + 20, 4, 0x1000}}},
        // Resource trees that are not type/name/language/data.
        {"no RT_VERSION", {{r + 24, 4, 17}}}, {"type entry is data", {{r + 28, 4, l.rel(data)}}},
        {"empty name directory", {{n + 14, 2, 0}}}, {"too many entries", {{r + 14, 2, 0xffff}}},
        {"subdirectory outside tree", {{r + 28, 4, sub | 0x7fff0000}}},
        // The root's first entry leads straight to data: only the cycle itself is wrong here.
        {"cycle to root", {{r + 20, 4, l.rel(data)}, {n + 20, 4, sub}}},
        {"cycle to itself", {{n + 20, 4, sub | l.rel(n)}}},
        {"four levels deep", {{l.language + 20, 4, sub | l.rel(l.spare)}}},
        {"data outside sections", {{data, 4, 0x20}}}, {"data size zero", {{data + 4, 4, 0}}},
        {"data larger than section", {{data + 4, 4, 0x10000}}},
        // Record lengths that do not fit.
        {"wLength zero", {{rec, 2, 0}}}, {"wLength past data", {{rec, 2, 96}}},
        {"root shorter than value", {{rec, 2, 91}}},
        {"value shorter than fixed info", {{rec + 2, 2, 51}}},
        {"unknown wType", {{rec + 4, 2, 2}}},
    };
    // clang-format on
}

// ELF header, section names at its end, the record at 96, then the section table [0] null,
// [1] .shstrtab, [2] .mirthkey_version.
struct ElfLayout {
    explicit ElfLayout(bool wide) : wide(wide), entry(wide ? 64 : 40), names(wide ? 64 : 52) {}
    qsizetype field(qsizetype wide64, qsizetype narrow32) const { return wide ? wide64 : narrow32; }
    qsizetype section(int index, qsizetype field64 = 0, qsizetype field32 = 0) const
    {
        return table + index * entry + field(field64, field32);
    }
    bool wide;
    qsizetype entry, names, record = 96, table = 96 + 92 + 4, end = table + 3 * entry;
};

QByteArray makeElf(const ElfLayout &l, const QByteArray &record)
{
    // clang-format off
    QByteArray elf = applyPatches(QByteArray(l.end, '\0'), {
        {0, 4, 0x464c457f}, {4, 1, l.wide ? 2u : 1u}, {5, 2, 0x0101},
        {l.field(0x28, 0x20), 4, quint64(l.table)}, {l.field(0x3a, 0x2e), 2, quint64(l.entry)},
        {l.field(0x3c, 0x30), 2, 3}, {l.field(0x3e, 0x32), 2, 1},
        {l.section(1), 4, 1}, {l.section(1, 4, 4), 4, 3},                          // .shstrtab
        {l.section(1, 24, 16), 4, quint64(l.names)}, {l.section(1, 32, 20), 4, 30},
        {l.section(2), 4, 11}, {l.section(2, 4, 4), 4, 1},                         // ours
        {l.section(2, 24, 16), 4, quint64(l.record)}, {l.section(2, 32, 20), 4, 92}});
    // clang-format on
    elf.replace(l.names, 30, QByteArray("\0.shstrtab\0.mirthkey_version\0", 30));
    return elf.replace(l.record, record.size(), record);
}

std::vector<Fault> elfFaults(const ElfLayout &l)
{
    // clang-format off
    return {
        {"cut in ident", {{10, 0}}}, {"cut in header", {{40, 0}}},
        {"cut in section table", {{l.end - l.entry / 2, 0}}},
        {"bad magic", {{1, 1, 'F'}}}, {"unknown class", {{4, 1, 3}}}, {"big-endian", {{5, 1, 2}}},
        {"no section table", {{l.field(0x28, 0x20), 4, 0}}},
        {"section entries too small", {{l.field(0x3a, 0x2e), 2, 16}}},
        {"section entries too large", {{l.field(0x3a, 0x2e), 2, 0xffff}}},
        {"name table index out of range", {{l.field(0x3e, 0x32), 2, 3}}},
        {"name past name table", {{l.section(2), 4, 29}}},
        {"section renamed", {{l.names + 12, 1, 'n'}}},
        {"section without file bytes", {{l.section(2, 4, 4), 4, 8}}},
        {"section past end", {{l.section(2, 24, 16), 4, 0x7ffffff0}}},
        {"section longer than file", {{l.section(2, 32, 20), 4, 0x10000}}},
        {"wLength zero", {{l.record, 2, 0}}},
    };
    // clang-format on
}

QString text(const CFileVersion &version)
{
    return QString::fromStdString(version.versionString());
}

// The four numbers as the getters give them.
QString numbers(const CFileVersion &v)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(v.Major())
        .arg(v.Minor())
        .arg(v.Revision())
        .arg(v.Build());
}

} // namespace

class VersionFiles : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    std::string store(const QString &name, const QByteArray &bytes) const
    {
        // An empty name, which no version is read from, when the file could not be made.
        return write(path(name), bytes) ? path(name).toStdString() : std::string();
    }

private slots:
    void neverFilledReadsZero()
    {
        const CFileVersion version;
        QCOMPARE(text(version), "0.0.0.0");
        QCOMPARE(numbers(version), "0.0.0.0");
    }

    void goodFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        const ElfLayout elf64(true);
        QTest::newRow("PE32") << makePe(PeLayout(false), versionRecord(1, 2, 0, 65)) << "1.2.0.65";
        QTest::newRow("PE32+ high halves")
            << makePe(PeLayout(true), versionRecord(40000, 65535, 32768, 0))
            << "40000.65535.32768.0";
        QTest::newRow("ELF32") << makeElf(ElfLayout(false), versionRecord(0, 0, 0, 1)) << "0.0.0.1";
        // Only the two file-version words of the fixed record are read; the record still has
        // to be 52 bytes long inside its block.
        const PeLayout pe32(false);
        const qsizetype fixed = pe32.record + 40;
        QTest::newRow("PE32 wrong fixed-info signature")
            << applyPatches(makePe(pe32, versionRecord(1, 2, 0, 65)), {{fixed, 4, 0xFEEF04BE}})
            << "1.2.0.65";
        QTest::newRow("PE32 wrong structure version")
            << applyPatches(makePe(pe32, versionRecord(3, 4, 5, 6)), {{fixed + 4, 4, 0xFFFFFFFF}})
            << "3.4.5.6";
        const qsizetype other = elf64.record + 40; // all but the words at 48 to 55
        QTest::newRow("ELF64 every other word 0xFF")
            << applyPatches(makeElf(elf64, versionRecord(9, 8, 7, 6)),
                            {{other, 8, ~quint64{0}},
                             {other + 16, 8, ~quint64{0}},
                             {other + 24, 8, ~quint64{0}},
                             {other + 32, 8, ~quint64{0}},
                             {other + 40, 8, ~quint64{0}},
                             {other + 48, 4, 0xFFFFFFFF}})
            << "9.8.7.6";
        QTest::newRow("ELF64 zero signature")
            << applyPatches(makeElf(elf64, versionRecord(1, 0, 0, 0)), {{other, 4, 0}})
            << "1.0.0.0";
        QTest::newRow("ELF64 all max") << makeElf(elf64, versionRecord(65535, 65535, 65535, 65535))
                                       << "65535.65535.65535.65535";
        // Section count and name-table index kept in section 0, as with very many sections.
        QTest::newRow("ELF64 extended numbering")
            << applyPatches(makeElf(elf64, versionRecord(5, 6, 7, 8)),
                            {{0x3c, 2, 0},
                             {elf64.section(0, 32), 4, 3},
                             {0x3e, 2, 0xffff},
                             {elf64.section(0, 40), 4, 1}})
            << "5.6.7.8";
    }

    void goodFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        CFileVersion version;
        QVERIFY(version.FillVersionInfo(store("good", file)));
        QCOMPARE(text(version), expected);
        QCOMPARE(numbers(version), expected);
    }

    void brokenFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        for (const bool wide : {false, true}) {
            const PeLayout pe(wide);
            for (const Fault &fault : peFaults(pe))
                QTest::addRow("%s %s", wide ? "PE32+" : "PE32", fault.name)
                    << applyPatches(makePe(pe, versionRecord(1, 2, 3, 4)), fault.patches);
            const ElfLayout elf(wide);
            for (const Fault &fault : elfFaults(elf))
                QTest::addRow("%s %s", wide ? "ELF64" : "ELF32", fault.name)
                    << applyPatches(makeElf(elf, versionRecord(1, 2, 3, 4)), fault.patches);
        }
    }

    void brokenFiles()
    {
        QFETCH(QByteArray, file);
        CFileVersion version;
        QVERIFY(version.FillVersionInfo(
            store("earlier", makePe(PeLayout(true), versionRecord(7, 8, 9, 10)))));
        QVERIFY(!version.FillVersionInfo(store("broken", file)));
        QCOMPARE(text(version), "7.8.9.10");
        QCOMPARE(numbers(version), "7.8.9.10");
    }

    void fileSystem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("readable");
        store("fs.exe", makePe(PeLayout(false), versionRecord(1, 2, 0, 65)));
        store("版本 1.exe", contents(path("fs.exe")));
        store("notes.txt", "1.2.0.65\nnot an executable\n");
        store("empty", {});
        QDir(m_dir.path()).mkdir("folder.exe");
        QTest::newRow("regular file") << "fs.exe" << true;
        QTest::newRow("non-ASCII name") << "版本 1.exe" << true;
        QTest::newRow("missing") << "gone.exe" << false;
        QTest::newRow("text file") << "notes.txt" << false;
        QTest::newRow("empty file") << "empty" << false;
        QTest::newRow("directory") << "folder.exe" << false;
#ifdef Q_OS_WIN
        // Names are case-blind; hidden and system files count as missing.
        QTest::newRow("different case") << "FS.exe" << true;
        store("hidden.exe", contents(path("fs.exe")));
        store("system.exe", contents(path("fs.exe")));
        SetFileAttributesW(reinterpret_cast<LPCWSTR>(path("hidden.exe").utf16()),
                           FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesW(reinterpret_cast<LPCWSTR>(path("system.exe").utf16()),
                           FILE_ATTRIBUTE_SYSTEM);
        QTest::newRow("hidden file") << "hidden.exe" << false;
        QTest::newRow("system file") << "system.exe" << false;
#else
        QFile::link(path("fs.exe"), path("link.exe"));
        QFile::link(path("folder.exe"), path("folder-link.exe"));
        QFile::link(path("gone.exe"), path("dangling.exe"));
        ::mkfifo(path("pipe.exe").toLocal8Bit().constData(), 0600);
        QTest::newRow("different case") << "FS.exe" << false;
        QTest::newRow("link to file") << "link.exe" << true;
        QTest::newRow("link to directory") << "folder-link.exe" << false;
        QTest::newRow("dangling link") << "dangling.exe" << false;
        QTest::newRow("FIFO") << "pipe.exe" << false;
#endif
    }

    void fileSystem()
    {
        QFETCH(QString, name);
        QFETCH(bool, readable);
        CFileVersion version;
        QCOMPARE(version.FillVersionInfo(path(name).toStdString()), readable);
        QCOMPARE(text(version), readable ? "1.2.0.65" : "0.0.0.0");
        QVERIFY(!version.FillVersionInfo(""));
        QVERIFY(!version.FillVersionInfo(path(name).toStdString() + '\0' + "x"));
    }
};

QTEST_GUILESS_MAIN(VersionFiles)
#include "tst_version_files.moc"
