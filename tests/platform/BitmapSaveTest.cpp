// Saving a bitmap as a PNG: whole or not at all, and never a failure that looks like success.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>

#include "platform/Bitmap.h"
#include "platform/DC.h"

namespace
{

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// True when the save succeeds; false only when it fails with EFBIG.
bool SavesUnderSizeLimit(const CBitmap& bitmap, const fs::path& png)
{
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 100;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    errno = 0;
    return bitmap.SaveAsPng(png.c_str()) || errno != EFBIG;
}

class BitmapSave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/orvanta-save-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
        ASSERT_TRUE(m_dc.CreateCompatibleDC(nullptr));
        ASSERT_TRUE(m_bitmap.CreateCompatibleBitmap(&m_dc, 200, 120));
    }
    void TearDown() override
    {
        m_bitmap.DeleteObject();
        m_dc.DeleteDC();
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    // Names in the folder other than the ones the test made.
    size_t FilesIn() const
    {
        return static_cast<size_t>(
            std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }

    fs::path m_dir;
    CDC m_dc;
    CBitmap m_bitmap;
};

TEST_F(BitmapSave, ReplacesAFileWholeKeepingItsModeAndWritesThroughLinks)
{
    const fs::path png = m_dir / "out.png";
    std::ofstream(png) << "old";
    fs::permissions(png, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(m_bitmap.SaveAsPng(png.c_str()));
    EXPECT_EQ(ReadAll(png).substr(1, 3), "PNG");
    EXPECT_EQ(fs::status(png).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    const fs::path link = m_dir / "link.png";
    fs::create_symlink(png, link);
    std::ofstream(png) << "old";
    ASSERT_TRUE(m_bitmap.SaveAsPng(link.c_str()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(png).substr(1, 3), "PNG");
    EXPECT_EQ(FilesIn(), 2u) << "no temporary file left behind";
}

TEST_F(BitmapSave, FailuresAreReportedWithTheirReasonAndLeaveNothingBehind)
{
    errno = 0;
    EXPECT_FALSE(m_bitmap.SaveAsPng("/dev/full"));
    EXPECT_EQ(errno, ENOSPC);

    errno = 0;
    EXPECT_FALSE(m_bitmap.SaveAsPng((m_dir / "missing" / "out.png").c_str()));
    EXPECT_EQ(errno, ENOENT);

    CBitmap empty;
    EXPECT_FALSE(empty.SaveAsPng((m_dir / "empty.png").c_str()));
    EXPECT_EQ(FilesIn(), 0u);
}

TEST_F(BitmapSave, AFileSizeLimitFailsTheSaveAndKeepsThePreviousFile)
{
    const fs::path png = m_dir / "out.png";
    std::ofstream(png) << "previous picture";
    // In a child: the limit would also stop the test framework's own files.
    EXPECT_EXIT(std::_Exit(SavesUnderSizeLimit(m_bitmap, png) ? 1 : 0), testing::ExitedWithCode(0),
                "");
    EXPECT_EQ(ReadAll(png), "previous picture");
    EXPECT_EQ(FilesIn(), 1u) << "the partial temporary file is removed";
}

} // namespace
