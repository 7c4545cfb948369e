// The DXF output stream: group codes aligned, numbers in their exact text, CR LF line ends, and a
// large output reaching the file whole.
#include <gtest/gtest.h>

#include "dxf/DXFOutput.h"
#include "platform/FileSystem.h"

namespace tvk {
namespace {

class DXFOutputTest : public ::testing::Test {
protected:
    void SetUp() override { SetFileSystem(&fs_); }
    void TearDown() override { SetFileSystem(nullptr); }
    CMemoryFileSystem fs_;
};

// What the document tests do not reach: negative and overlong numbers,
// numbers out of the cache, line feeds inside a text.
TEST_F(DXFOutputTest, AlignedNumbersNumberTextAndLineEnds) {
    CStdioFile file("a.dxf", CFile::modeWrite | CFile::modeCreate);
    CDXFOutput out;
    out.Attach(&file);
    out.Aligned(-12, 6);
    out.Aligned(1234567, 3);
    out.Aligned(-2147483648LL, 0);
    out.Aligned(7, 30);
    out.NewLine();
    for (double v : {0.05, -1.7e308, 400000.25, 0.05}) {
        out.Number(v);
        out.NewLine();
    }
    out.Text("a\nb");
    out.Text("");
    out.NewLine();
    out.Flush();
    file.Close();
    EXPECT_EQ(*fs_.Contents("a.dxf"), "   -121234567-2147483648" + std::string(29, ' ') +
                                          "7\r\n5.e-002\r\n-1.7e+308\r\n400000.25\r\n5.e-002\r\na\r\nb\r\n");
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
        expected += std::string(6 - std::to_string(i).size(), ' ') + std::to_string(i) + "\r\n";
        if (i % 5000 == 0) {
            out.Text(longText);
            expected += longText;
        }
    }
    out.Flush();
    file.Close();
    EXPECT_EQ(*fs_.Contents("big.dxf"), expected);
}

}  // namespace
}  // namespace tvk
