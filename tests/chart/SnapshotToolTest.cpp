// Runs the orvanta-snapshot program built next to this test program, as a user would.

#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

namespace fs = std::filesystem;

fs::path ToolPath()
{
    return fs::read_symlink("/proc/self/exe").parent_path() /
           "../../tools/snapshot/orvanta-snapshot";
}

struct SRun
{
    int nExit = -1;
    std::string strOutput; // standard output and error together
};

// strShellPrefix comes before the program in the shell command, e.g. "ulimit -f 1; exec ".
SRun RunTool(const std::string& strArguments, const std::string& strShellPrefix = "exec ")
{
    SRun run;
    const std::string strCommand =
        strShellPrefix + ToolPath().string() + " " + strArguments + " 2>&1";
    FILE* pPipe = popen(strCommand.c_str(), "r");
    if (pPipe == nullptr)
        return run;
    std::array<char, 512> buffer;
    while (std::fgets(buffer.data(), int(buffer.size()), pPipe) != nullptr)
        run.strOutput += buffer.data();
    const int nStatus = pclose(pPipe);
    run.nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    return run;
}

// Width and height from the PNG header, or (0, 0) when the file is not a PNG.
std::pair<int, int> PngSize(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    unsigned char header[24] = {};
    file.read(reinterpret_cast<char*>(header), sizeof header);
    const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!file || std::memcmp(header, kSignature, 8) != 0 ||
        std::memcmp(header + 12, "IHDR", 4) != 0)
        return {0, 0};
    auto BigEndian = [&](int i)
    {
        return int(header[i]) << 24 | int(header[i + 1]) << 16 | int(header[i + 2]) << 8 |
               int(header[i + 3]);
    };
    return {BigEndian(16), BigEndian(20)};
}

class SnapshotTool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!fs::exists(ToolPath()))
            GTEST_SKIP() << "orvanta-snapshot is not built";
        m_dir = fs::temp_directory_path() / ("orvanta-snapshot-test-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
        std::ofstream bars(m_dir / "bars.csv");
        for (int i = 1; i <= 28; ++i)
            bars << "2017-02-" << (i < 10 ? "0" : "") << i << "," << 10 + i % 3 << "," << 12 + i % 4
                 << "," << 9 - i % 2 << "," << 10.5 + i % 2 << "\n";
    }

    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    std::string Path(const char* pszName) const { return (m_dir / pszName).string(); }

    std::string Read(const char* pszName) const
    {
        std::ifstream in(m_dir / pszName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    size_t FilesInFolder() const
    {
        return static_cast<size_t>(
            std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }

    fs::path m_dir;
};

TEST_F(SnapshotTool, WritesAPngOfTheRequestedSize)
{
    SRun run = RunTool(Path("bars.csv") + " " + Path("default.png"));
    ASSERT_EQ(run.nExit, 0) << run.strOutput;
    EXPECT_EQ(PngSize(m_dir / "default.png"), std::make_pair(640, 400));
    EXPECT_NE(run.strOutput.find("bars 0 to 25 of 28"), std::string::npos) << run.strOutput;

    run =
        RunTool(Path("bars.csv") + " " + Path("small.png") + " --first 2 --bars 10 --size 320x200");
    ASSERT_EQ(run.nExit, 0) << run.strOutput;
    EXPECT_EQ(PngSize(m_dir / "small.png"), std::make_pair(320, 200));
    EXPECT_NE(run.strOutput.find("bars 2 to 11 of 28"), std::string::npos) << run.strOutput;

    run = RunTool(Path("bars.csv") + " " + Path("tail.png") + " --first 20");
    ASSERT_EQ(run.nExit, 0) << run.strOutput;
    EXPECT_NE(run.strOutput.find("only 8 bars"), std::string::npos) << run.strOutput;
}

TEST_F(SnapshotTool, RejectsBadArgumentsWithAMessage)
{
    const std::string strFile = Path("bars.csv");
    const std::string strOut = Path("out.png");
    const std::pair<std::string, const char*> cases[] = {
        {"", "missing FILE"},
        {strFile + " " + strOut + " --size 0x400", "--size"},
        {strFile + " " + strOut + " --size 640", "--size"},
        {strFile + " " + strOut + " --bars 2x", "--bars"},
        {strFile + " " + strOut + " --bars 0", "--bars"},
        {strFile + " " + strOut + " --first -1", "--first"},
        {strFile + " " + strOut + " --first", "needs a value"},
        {strFile + " " + strOut + " --color red", "unknown option"},
        {strFile + " " + strOut + " extra", "unexpected argument"},
        {strFile + " " + strOut + " --first 28", "past the last bar"},
        {Path("missing.csv") + " " + strOut, "cannot read"},
    };
    for (const auto& [strArguments, pszMessage] : cases)
    {
        const SRun run = RunTool(strArguments);
        EXPECT_NE(run.nExit, 0) << strArguments;
        EXPECT_NE(run.strOutput.find(pszMessage), std::string::npos)
            << strArguments << ": " << run.strOutput;
    }
    EXPECT_FALSE(fs::exists(strOut));

    const SRun run = RunTool(strFile + " " + Path("no-such-dir/out.png"));
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.strOutput.find("cannot write"), std::string::npos) << run.strOutput;

    // FILE alone: the note on what was read, and no picture.
    const SRun note = RunTool(strFile);
    EXPECT_EQ(note.nExit, 0) << note.strOutput;
    EXPECT_NE(note.strOutput.find("date, open, high, low, close: 28 bars"), std::string::npos)
        << note.strOutput;
    EXPECT_FALSE(fs::exists(strOut));
}

TEST_F(SnapshotTool, AFailedWriteExitsOneWithTheReasonAndLeavesNoPartialFile)
{
    SRun run = RunTool(Path("bars.csv") + " /dev/full");
    EXPECT_EQ(run.nExit, 1) << run.strOutput;
    EXPECT_NE(run.strOutput.find("cannot write '/dev/full': No space left on device"),
              std::string::npos)
        << run.strOutput;

    // A size limit of 512 bytes stops the picture part-way; the previous picture survives.
    std::ofstream(m_dir / "out.png") << "previous";
    run = RunTool(Path("bars.csv") + " " + Path("out.png"), "ulimit -f 1; exec ");
    EXPECT_EQ(run.nExit, 1) << run.strOutput;
    EXPECT_NE(run.strOutput.find("File too large"), std::string::npos) << run.strOutput;
    EXPECT_EQ(run.strOutput.find("bars 0 to"), std::string::npos) << run.strOutput;
    EXPECT_EQ(Read("out.png"), "previous");
    EXPECT_EQ(FilesInFolder(), 2u) << "bars.csv and out.png, no temporary file";
}

TEST_F(SnapshotTool, RefusesToWriteOverItsInputUnderAnyName)
{
    const std::string strBars = Read("bars.csv");
    fs::create_hard_link(m_dir / "bars.csv", m_dir / "hard.csv");
    fs::create_symlink(m_dir / "bars.csv", m_dir / "soft.png");
    for (const std::string& strOut :
         {Path("bars.csv"), m_dir.string() + "/./bars.csv", Path("hard.csv"), Path("soft.png")})
    {
        const SRun run = RunTool(Path("bars.csv") + " " + strOut);
        EXPECT_EQ(run.nExit, 2) << strOut;
        EXPECT_NE(run.strOutput.find("is the input file"), std::string::npos)
            << strOut << ": " << run.strOutput;
    }
    EXPECT_EQ(Read("bars.csv"), strBars);
}

TEST_F(SnapshotTool, RefusesANamedPipeWithoutWaitingForAWriter)
{
    const fs::path fifo = m_dir / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const SRun run = RunTool(fifo.string() + " " + Path("pipe.png"), "exec timeout 60 ");
    EXPECT_EQ(run.nExit, 1) << run.strOutput;
    EXPECT_NE(run.strOutput.find("not a regular file (a named pipe)"), std::string::npos)
        << run.strOutput;
    EXPECT_FALSE(fs::exists(m_dir / "pipe.png"));
}

TEST_F(SnapshotTool, DrawsFilesFromSpreadsheetsAndSemicolonFiles)
{
    std::ofstream(m_dir / "excel.csv", std::ios::binary)
        << "\xEF\xBB\xBF"
           "2017-02-03,3,4,2,3.5\r2017-02-02,2,3,1,2.5\r2017-02-01,1,2,0.5,1.5\r";
    SRun run = RunTool(Path("excel.csv") + " " + Path("excel.png") + " --bars 3");
    EXPECT_EQ(run.nExit, 0) << run.strOutput;
    EXPECT_NE(run.strOutput.find("bars 0 to 2 of 3"), std::string::npos) << run.strOutput;
    EXPECT_NE(run.strOutput.find("newest first, replayed oldest first"), std::string::npos)
        << run.strOutput;
    std::ofstream(m_dir / "semicolon.csv") << "2015-01-05;49,86;50,16;48,67;48,92\n";
    run = RunTool(Path("semicolon.csv") + " " + Path("semicolon.png") + " --bars 1");
    EXPECT_EQ(run.nExit, 0) << run.strOutput;
    EXPECT_NE(run.strOutput.find("semicolons and decimal commas: 1 bar"), std::string::npos)
        << run.strOutput;
    EXPECT_TRUE(fs::exists(m_dir / "semicolon.png"));
}

// Horizontal centres of the candle bodies in a snapshot, left to right: in the row crossing
// the most bodies, runs of at least two red pixels (wicks are one pixel wide).
std::vector<double> CandleCentres(const fs::path& path)
{
    const QImage image(QString::fromStdString(path.string()));
    std::vector<double> best;
    for (int y = 0; y < image.height(); ++y)
    {
        std::vector<double> centres;
        int nRunStart = -1;
        for (int x = 0; x <= image.width(); ++x)
        {
            const QRgb rgb = x < image.width() ? image.pixel(x, y) : 0;
            const bool bRed = x < image.width() && qRed(rgb) - qGreen(rgb) > 100;
            if (bRed && nRunStart < 0)
                nRunStart = x;
            else if (!bRed && nRunStart >= 0)
            {
                if (x - nRunStart >= 2)
                    centres.push_back((nRunStart + x - 1) / 2.0);
                nRunStart = -1;
            }
        }
        if (centres.size() > best.size())
            best = centres;
    }
    return best;
}

std::string Join(const std::vector<double>& values)
{
    std::string str;
    for (double d : values)
        str += std::to_string(d) + " ";
    return str;
}

TEST_F(SnapshotTool, DrawsHourlyBarsApartInTimeOrderSpacedByTheirTimes)
{
    // Two trading days with a lunch break, written newest first; identical falling candles.
    const int hours[] = {9, 10, 11, 12, 15, 16, 33, 34, 35}; // hours from day one 00:00
    std::ofstream bars(m_dir / "hourly.csv");
    bars << ",Open,High,Low,Close,Volume\n";
    for (int i = 8; i >= 0; --i)
        bars << "2017-04-" << 25 + hours[i] / 24 << " " << (hours[i] % 24 < 10 ? "0" : "")
             << hours[i] % 24 << ":00:00,1.10010,1.10050,1.09950,1.09980,100\n";
    bars.close();

    const SRun run = RunTool(Path("hourly.csv") + " " + Path("hourly.png") + " --bars 9");
    ASSERT_EQ(run.nExit, 0) << run.strOutput;
    const std::vector<double> centres = CandleCentres(m_dir / "hourly.png");
    ASSERT_EQ(centres.size(), 9u) << "one body per bar: " << Join(centres);
    // The bodies at both ends are cut by the plot edge, so spacing is judged between the others.
    const double dPixelsPerHour = (centres[7] - centres[1]) / (hours[7] - hours[1]);
    EXPECT_GT(dPixelsPerHour, 5.0);
    for (int i = 1; i < 8; ++i)
    {
        EXPECT_GT(centres[i + 1], centres[i]) << Join(centres);
        if (i < 7)
        {
            EXPECT_NEAR(centres[i + 1] - centres[i], dPixelsPerHour * (hours[i + 1] - hours[i]),
                        2.0)
                << "bar " << i << ": " << Join(centres);
        }
    }
}

TEST_F(SnapshotTool, LabelsFiveDecimalPricesAndIntradayTimes)
{
    // Half-hourly bars of one morning, prices a few hundred-thousandths apart.
    std::ofstream bars(m_dir / "eurusd.csv");
    for (int i = 0; i < 26; ++i)
        bars << "2017-04-25 " << (i / 2 < 10 ? "0" : "") << i / 2 << (i % 2 ? ":30" : ":00")
             << ",1.0710" << i % 10 << ",1.0711" << i % 10 << ",1.0709" << i % 10 << ",1.0710"
             << (i + 3) % 10 << "\n";
    bars.close();
    const SRun run = RunTool(Path("eurusd.csv") + " " + Path("eurusd.png") + " --labels");
    ASSERT_EQ(run.nExit, 0) << run.strOutput;
    const std::string strPrices = run.strOutput.substr(run.strOutput.find("price labels: "));
    EXPECT_NE(strPrices.find(" 1.07100 "), std::string::npos) << run.strOutput;
    EXPECT_EQ(strPrices.find(" 1.0710 "), std::string::npos) << run.strOutput;
    const std::string strDates = run.strOutput.substr(run.strOutput.find("date labels: "));
    EXPECT_NE(strDates.find("04:00 |"), std::string::npos) << run.strOutput;

    // Over a range hundreds of pips wide the step is coarse, yet every label reads to the pip.
    std::ofstream wide(m_dir / "wide.csv");
    for (int i = 0; i < 26; ++i)
        wide << "2017-03-" << (i < 9 ? "0" : "") << i + 1 << ",1.07" << 100 + i * 31 << ",1.08"
             << 100 + i * 31 << ",1.06" << 100 + i * 31 << ",1.07" << 200 + i * 31 << "\n";
    wide.close();
    const SRun wideRun = RunTool(Path("wide.csv") + " " + Path("wide.png") + " --labels");
    ASSERT_EQ(wideRun.nExit, 0) << wideRun.strOutput;
    std::istringstream widePrices(wideRun.strOutput.substr(
        wideRun.strOutput.find("price labels: ") + std::strlen("price labels: ")));
    std::string strLine;
    std::getline(widePrices, strLine);
    std::istringstream labels(strLine);
    int nLabels = 0;
    for (std::string strLabel; labels >> strLabel;)
        if (strLabel != "|")
        {
            ++nLabels;
            EXPECT_EQ(strLabel.size() - strLabel.find('.'), 6u) << strLine;
        }
    EXPECT_GE(nLabels, 3) << strLine;

    // A daily file keeps its dates.
    const SRun daily = RunTool(Path("bars.csv") + " " + Path("daily.png") + " --labels");
    ASSERT_EQ(daily.nExit, 0) << daily.strOutput;
    EXPECT_NE(daily.strOutput.find("date labels: 2017-02-04 | 2017-02-11 | 2017-02-18"),
              std::string::npos)
        << daily.strOutput;
}

} // namespace
