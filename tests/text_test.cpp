// The Windows-1250 code table and the INI file reader/writer.
#include "text/IniFile.h"
#include "text/Windows1250.h"
#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iconv.h>

namespace {

// Every byte the code page assigns decodes as glibc's converter says, and the
// whole table survives a round trip.
TEST(Windows1250Test, AgreesWithTheSystemConverterAndRoundTrips)
{
    iconv_t cd = iconv_open("UTF-8", "CP1250");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int assigned = 0;
    for (int b = 0; b < 256; ++b) {
        char in[1] = {static_cast<char>(b)};
        char out[8] = {};
        char* inp = in;
        char* outp = out;
        size_t inLeft = 1, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1))
            continue;   // unassigned in the code page
        ++assigned;
        const QByteArray byte(1, static_cast<char>(b));
        EXPECT_EQ(Windows1250::decode(byte), QString::fromUtf8(out, outp - out)) << "byte " << b;
    }
    iconv_close(cd);
    EXPECT_GE(assigned, 251);

    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(Windows1250::encode(Windows1250::decode(all)), all);
    EXPECT_EQ(Windows1250::encode(QString::fromUtf8("zażółć ĄŚŻ €")), "za\xbf\xf3\xb3\xe6 \xa5\x8c\xaf \x80");
    EXPECT_EQ(Windows1250::encode(QString::fromUtf8("日本")), "??");
}

class IniFileTest : public ::testing::Test {
protected:
    QString write(const QByteArray& content)
    {
        EXPECT_TRUE(writeFile(path, content));
        return path;
    }
    QByteArray read() { return readFile(path); }
    QTemporaryDir dir;
    QString path = dir.filePath("Config.ini");
};

TEST_F(IniFileTest, ReadsSectionAndKeyInAnyCase)
{
    write("[Other]\r\nIP=wrong\r\n;IP=commented\r\n[ SeRvEr ]\r\n; IP=also commented\r\n"
          "  ip =  10.0.0.1  \r\nLogin=\r\n");
    EXPECT_EQ(IniFile::read(path, "SERVER", "IP", "default"), "10.0.0.1");
    EXPECT_EQ(IniFile::read(path, "SERVER", "Login", "default"), "");
    EXPECT_EQ(IniFile::read(path, "SERVER", "password", "default"), "default");
    EXPECT_EQ(IniFile::read(path, "MISSING", "IP", "default"), "default");
    EXPECT_EQ(IniFile::read(dir.filePath("none.ini"), "SERVER", "IP", "default"), "default");

    write("[SERVER]\nDATABASE=" + QByteArray(3000, 'x') + "\n");
    EXPECT_EQ(IniFile::read(path, "SERVER", "DATABASE", "").size(), 2047);
}

TEST_F(IniFileTest, WritesInPlaceAndKeepsEverythingElse)
{
    write("; top\r\n[SERVER]\r\nip=old\r\n\r\n[Next]\r\nk=v\r\n");
    IniFile::write(path, "SERVER", "IP", "new");
    IniFile::write(path, "SERVER", "Login", QString::fromUtf8("łukasz"));
    IniFile::write(path, "Extra", "A", "1");
    EXPECT_EQ(read(), "; top\r\n[SERVER]\r\nIP=new\r\nLogin=\xb3ukasz\r\n\r\n[Next]\r\nk=v\r\n\r\n[Extra]\r\nA=1\r\n");
    EXPECT_EQ(IniFile::read(path, "server", "LOGIN", ""), QString::fromUtf8("łukasz"));

    // A new file gets the section with the key.
    QFile::remove(path);
    IniFile::write(path, "SERVER", "IP", "1.2.3.4");
    EXPECT_EQ(read(), "[SERVER]\r\nIP=1.2.3.4\r\n");
}

TEST_F(IniFileTest, UnwritableFileIsAnError)
{
    const QString folder = dir.filePath("folder.ini");
    ASSERT_TRUE(QDir().mkdir(folder));
    try {
        IniFile::write(folder, "SERVER", "IP", "x");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.message(), "Unable to write to " + folder);
    }
}

}  // namespace
