// SPDX-License-Identifier: GPL-3.0-or-later
// The reader against real toolchain output: PE images made by the MinGW resource compiler and
// linker (with python's pefile as an independent oracle), the records generated for ELF builds
// compared byte for byte with the resource compiler's, and executables built with
// mirthkey_add_version_resource() reading their own version.
#include "CFileVersion.h"
#include "VersionTestSupport.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace versiontest;

namespace {

// A program or file handed over by CMake through the environment; empty when not found.
QString tool(const char *variable)
{
    const QString value = qEnvironmentVariable(variable);
    return value.endsWith("-NOTFOUND") ? QString() : value;
}

QString text(const CFileVersion &version)
{
    return QString::fromStdString(version.versionString());
}

// The payload of the first RT_VERSION resource in a .res file.
QByteArray resVersionPayload(const QByteArray &res)
{
    for (qsizetype at = 0; at + 16 <= res.size();) {
        const auto dataSize = qFromLittleEndian<quint32>(res.constData() + at);
        const auto headerSize = qFromLittleEndian<quint32>(res.constData() + at + 4);
        if (qFromLittleEndian<quint32>(res.constData() + at + 8) == 0x0010ffff)
            return res.mid(at + headerSize, dataSize);
        if (headerSize < 16)
            break;
        at = (at + headerSize + dataSize + 3) & ~qsizetype{3};
    }
    return {};
}

} // namespace

class VersionTools : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    const QString m_windres = tool("MIRTHKEY_WINDRES");

    void targets()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("rc");
        QTest::addColumn<QString>("record");
        QTest::newRow("version_probe")
            << tool("MIRTHKEY_PROBE") << tool("MIRTHKEY_PROBE_RC") << tool("MIRTHKEY_PROBE_RECORD");
        QTest::newRow("mirthkey") << tool("MIRTHKEY_APP") << tool("MIRTHKEY_APP_RC")
                                  << tool("MIRTHKEY_APP_RECORD");
    }

private slots:
    void realImages_data()
    {
        QTest::addColumn<bool>("pe32plus");
        QTest::addColumn<QString>("fileVersion");
        QTest::addColumn<QString>("productVersion");
        QTest::newRow("PE32+ ours") << true << "1.2.0.65"
                                    << "1.2.0.65";
        QTest::newRow("PE32 ours") << false << "1.2.0.65"
                                   << "1.2.0.65";
        QTest::newRow("PE32+ 32768 and 65535") << true << "32768.65535.1.40000"
                                               << "32768.65535.1.40000";
        QTest::newRow("PE32 all max, product differs") << false << "65535.65535.65535.65535"
                                                       << "1.0.0.0";
        QTest::newRow("PE32+ zero, product differs") << true << "0.0.0.0"
                                                     << "9.9.9.9";
        QTest::newRow("PE32+ product differs") << true << "3.4.5.6"
                                               << "7.8.9.10";
    }

    void realImages()
    {
        QFETCH(bool, pe32plus);
        QFETCH(QString, fileVersion);
        QFETCH(QString, productVersion);
        const QString ld = tool("MIRTHKEY_MINGW_LD");
        if (m_windres.isEmpty() || ld.isEmpty())
            QSKIP("x86_64-w64-mingw32-windres or -ld not found");
        const QString base = m_dir.filePath(QString::number(qHash(QTest::currentDataTag())));
        QVERIFY(write(base + ".rc",
                      QStringLiteral("1 VERSIONINFO\nFILEVERSION %1\nPRODUCTVERSION %2\nBEGIN\n"
                                     " BLOCK \"StringFileInfo\"\n BEGIN\n  BLOCK \"040904b0\"\n"
                                     "  BEGIN\n   VALUE \"FileVersion\", \"%3\"\n  END\n END\n"
                                     " BLOCK \"VarFileInfo\"\n BEGIN\n"
                                     "  VALUE \"Translation\", 0x409, 1200\n END\nEND\n")
                          .arg(QString(fileVersion).replace('.', ','),
                               QString(productVersion).replace('.', ','), fileVersion)
                          .toUtf8()));
        // The default linker scripts only cover PE32+; for PE32 the resource section is enough.
        QVERIFY(
            write(base + ".x", "SECTIONS { .rsrc BLOCK(__section_alignment__) : { *(.rsrc) } }\n"));
        QStringList link{base + ".o", "-o", base + ".exe", "--entry=0"};
        if (!pe32plus)
            link << "-m"
                 << "i386pe"
                 << "-T" << base + ".x";
        QVERIFY(run(m_windres, {"--preprocessor=cpp", "-F", pe32plus ? "pe-x86-64" : "pe-i386",
                                base + ".rc", "-O", "coff", "-o", base + ".o"}));
        QVERIFY(run(ld, link));

        CFileVersion version;
        QVERIFY(version.FillVersionInfo((base + ".exe").toStdString()));
        QCOMPARE(text(version), fileVersion);

        const QString python = tool("MIRTHKEY_PYTHON3");
        if (python.isEmpty() || !run(python, {"-c", "import pefile"}))
            QSKIP("no python3 with pefile for the oracle");
        QByteArray oracle;
        QVERIFY(run(python,
                    {"-c",
                     "import pefile, sys; f = pefile.PE(sys.argv[1]).VS_FIXEDFILEINFO[0]; "
                     "print(f.FileVersionMS >> 16, f.FileVersionMS & 0xffff, "
                     "f.FileVersionLS >> 16, f.FileVersionLS & 0xffff, sep='.')",
                     base + ".exe"},
                    &oracle));
        QCOMPARE(QString::fromUtf8(oracle.trimmed()), fileVersion);
    }

    void generatedRecordMatchesResourceCompiler_data() { targets(); }
    void generatedRecordMatchesResourceCompiler()
    {
        QFETCH(QString, rc);
        QFETCH(QString, record);
        if (rc.isEmpty() || m_windres.isEmpty())
            QSKIP("target not built in this tree, or no x86_64-w64-mingw32-windres");
        const QString res = m_dir.filePath(QString(QTest::currentDataTag()) + ".res");
        QVERIFY(run(m_windres, {"--preprocessor=cpp", rc, "-O", "res", "-o", res}));
        const QByteArray expected = resVersionPayload(contents(res));
        QVERIFY(expected.size() > 92);
        QCOMPARE(contents(record).toHex(' '), expected.toHex(' '));
    }

    void ownVersion_data() { targets(); }
    void ownVersion()
    {
        QFETCH(QString, program);
        QFETCH(QString, record);
        if (program.isEmpty())
            QSKIP("target not built in this tree");
        const QString expected = tool("MIRTHKEY_EXPECTED_VERSION"); // 1.2.0.65
        CFileVersion version;
        QVERIFY(version.FillVersionInfo(program.toStdString()));
        QCOMPARE(text(version), expected);
        QCOMPARE(QStringLiteral("%1.%2.%3.%4")
                     .arg(version.Major())
                     .arg(version.Minor())
                     .arg(version.Revision())
                     .arg(version.Build()),
                 expected);

        const QString objcopy = tool("MIRTHKEY_OBJCOPY");
        if (objcopy.isEmpty())
            QSKIP("objcopy not found");
        const QString section = m_dir.filePath("section.bin");
        const QString stripped = m_dir.filePath(QString(QTest::currentDataTag()) + "-stripped");
        QVERIFY(
            run(objcopy, {"-O", "binary", "--only-section=.mirthkey_version", program, section}));
        QCOMPARE(contents(section).toHex(' '), contents(record).toHex(' '));
        QVERIFY(run(objcopy, {"--remove-section", ".mirthkey_version", program, stripped}));
        QVERIFY(!version.FillVersionInfo(stripped.toStdString()));
        QCOMPARE(text(version), expected);

        // The probe still runs without the section, and says so.
        if (program == tool("MIRTHKEY_PROBE")) {
            QByteArray output;
            QVERIFY(run(program, {}, &output));
            QCOMPARE(output.trimmed(), expected.toUtf8());
            QVERIFY(run(stripped, {}, &output));
            QCOMPARE(output.trimmed(), "no version");
        }
    }
};

QTEST_GUILESS_MAIN(VersionTools)
#include "tst_version_tools.moc"
