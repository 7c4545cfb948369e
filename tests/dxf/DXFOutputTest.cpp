#include <gtest/gtest.h>

#include "dxf/DXFOutput.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"

namespace tvk {
namespace {

class DXFOutputTest : public ::testing::Test {
protected:
    void SetUp() override { SetFileSystem(&fs_); }
    void TearDown() override { SetFileSystem(nullptr); }
    CMemoryFileSystem fs_;
};

TEST_F(DXFOutputTest, AlignsNumbersAndWritesCrLf) {
    CStdioFile file("a.dxf", CFile::modeWrite | CFile::modeCreate);
    CDXFOutput out;
    out.Attach(&file);
    out.Aligned(70, 3);
    out.NewLine();
    out.Aligned(0, 6);
    out.NewLine();
    out.Aligned(-12, 6);
    out.Aligned(1234567, 3);  // longer than the field: whole
    out.Aligned(-2147483648LL, 0);
    out.NewLine();
    out.Flush();
    file.Close();
    EXPECT_EQ(*fs_.Contents("a.dxf"), " 70\r\n     0\r\n   -121234567-2147483648\r\n");
}

TEST_F(DXFOutputTest, NumbersInTheGcvtForm) {
    CDXFOutput out;
    CStdioFile file("n.dxf", CFile::modeWrite | CFile::modeCreate);
    out.Attach(&file);
    const double values[] = {0.0, 1.0, 2.5, 1.7e308, -1.7e308, 0.05, 400000.25, 6000000.5, 101.5, 0.0, 2.5};
    for (double v : values) {
        out.Number(v);
        out.NewLine();
    }
    out.Flush();
    file.Close();
    EXPECT_EQ(*fs_.Contents("n.dxf"),
              "0.\r\n1.\r\n2.5\r\n1.7e+308\r\n-1.7e+308\r\n5.e-002\r\n400000.25\r\n6000000.5\r\n101.5\r\n0."
              "\r\n2.5\r\n");
}

TEST_F(DXFOutputTest, TextTurnsLineFeedsIntoCrLf) {
    CDXFOutput out;
    CStdioFile file("t.dxf", CFile::modeWrite | CFile::modeCreate);
    out.Attach(&file);
    out.Text("a\nb");
    out.Text("");
    out.Text("\n");
    out.Flush();
    file.Close();
    EXPECT_EQ(*fs_.Contents("t.dxf"), "a\r\nb\r\n");
}

TEST_F(DXFOutputTest, LargeOutputReachesTheFileWhole) {
    CDXFOutput out(4096);
    CStdioFile file("big.dxf", CFile::modeWrite | CFile::modeCreate);
    out.Attach(&file);
    std::string expected;
    std::string longText(10000, 'x');  // larger than a chunk
    for (int i = 0; i < 20000; ++i) {
        out.Aligned(i, 6);
        out.NewLine();
        expected += std::string(i < 10 ? 5 : i < 100 ? 4 : i < 1000 ? 3 : i < 10000 ? 2 : 1, ' ') +
                    std::to_string(i) + "\r\n";
        if (i % 5000 == 0) {
            out.Text(longText);
            expected += longText;
        }
    }
    out.Flush();
    file.Close();
    EXPECT_EQ(*fs_.Contents("big.dxf"), expected);
}

TEST_F(DXFOutputTest, WriteFailureThrowsFileException) {
    fs_.SetDiskLimit(100);
    CDXFOutput out(4096);
    CStdioFile file("full.dxf", CFile::modeWrite | CFile::modeCreate);
    out.Attach(&file);
    EXPECT_THROW(
        {
            for (int i = 0; i < 100000; ++i) out.Text("0123456789");
            out.Flush();
            file.Close();
        },
        CFileException);
    file.Abort();
}

}  // namespace
}  // namespace tvk
