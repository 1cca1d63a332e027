// Files dropped on windows: reading and giving back dropped file lists, which windows take drags,
// and WM_DROPFILES from a real drop on the window's widget.
#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/ShellApi.h"
#include "platform/Wnd.h"
#include "platform/testsupport/TestSupport.h"

namespace
{

constexpr UINT kFileCount = 0xFFFFFFFF;

// A window that notes the files of every drop; it gives each list back unless told to keep it.
class CDropProbe : public CWnd
{
public:
    std::vector<std::vector<std::string>> m_vecDrops;
    HDROP m_hLast = nullptr;
    bool m_bKeep = false;

protected:
    void OnDropFiles(HDROP hDropInfo) override
    {
        m_hLast = hDropInfo;
        std::vector<std::string> vecFiles;
        const UINT nFiles = DragQueryFileA(hDropInfo, kFileCount, nullptr, 0);
        for (UINT i = 0; i < nFiles; ++i)
        {
            std::string strPath(DragQueryFileA(hDropInfo, i, nullptr, 0) + 1, '\0');
            strPath.resize(
                DragQueryFileA(hDropInfo, i, strPath.data(), static_cast<UINT>(strPath.size())));
            vecFiles.push_back(strPath);
        }
        m_vecDrops.push_back(vecFiles);
        if (!m_bKeep)
            DragFinish(hDropInfo);
    }
};

class DropFilesTest : public ::testing::Test
{
protected:
    void SetUp() override { m_nListsBefore = PlatformLiveDropLists(); }
    void TearDown() override
    {
        EXPECT_EQ(PlatformLiveDropLists(), m_nListsBefore) << "a dropped file list was left";
    }

    static QWidget* Show(CWnd& wnd, DWORD dwExStyle)
    {
        EXPECT_TRUE(wnd.CreateEx(dwExStyle, nullptr, "drop", WS_POPUP | WS_VISIBLE,
                                 CRect(0, 0, 120, 80), nullptr, 0));
        return WidgetFromHwnd(wnd.m_hWnd);
    }

    static std::unique_ptr<QMimeData> Files(const QStringList& urls)
    {
        auto pData = std::make_unique<QMimeData>();
        QList<QUrl> list;
        for (const QString& url : urls)
            list.push_back(QUrl(url));
        pData->setUrls(list);
        return pData;
    }

    static std::unique_ptr<QMimeData> Text(const QString& text)
    {
        auto pData = std::make_unique<QMimeData>();
        pData->setText(text);
        return pData;
    }

    // Whether the widget takes a drag of this data as it enters and as it moves, and how.
    static bool TakesDrag(QWidget* w, const QMimeData* pData, Qt::DropAction* pAction = nullptr)
    {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction | Qt::MoveAction, pData,
                              Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &enter);
        QDragMoveEvent move(QPoint(12, 12), Qt::CopyAction | Qt::MoveAction, pData, Qt::LeftButton,
                            Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        EXPECT_EQ(enter.isAccepted(), move.isAccepted());
        if (pAction != nullptr)
            *pAction = move.dropAction();
        return enter.isAccepted();
    }

    // A whole drag: in, over, and dropped; answers whether the drop was taken.
    static bool Drop(QWidget* w, const QMimeData* pData)
    {
        TakesDrag(w, pData);
        QDropEvent drop(QPointF(12, 12), Qt::CopyAction, pData, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &drop);
        return drop.isAccepted();
    }

    std::size_t m_nListsBefore = 0;
};

using FileList = std::vector<std::string>;

TEST_F(DropFilesTest, QueryAnswersTheCountTheLengthAndCopiesWithinTheBuffer)
{
    CWnd wnd;
    Show(wnd, 0);
    const std::string strLong = "/tmp/k线/日线 2021.csv"; // UTF-8: lengths are in bytes
    HDROP h = PlatformNewDropList(wnd.m_hWnd, {"/a.csv", strLong, ""});
    EXPECT_EQ(DragQueryFileA(h, kFileCount, nullptr, 0), 3u);
    EXPECT_EQ(DragQueryFileA(h, 1, nullptr, 0), strLong.size());
    EXPECT_EQ(DragQueryFileA(h, 1, nullptr, 5), strLong.size()) << "no buffer: cch is ignored";

    struct SCase
    {
        UINT iFile;
        UINT cch;
        UINT nAnswer;
        std::string strCopied; // what the buffer holds up to its terminator
    };
    const std::vector<SCase> cases = {
        {0, 64, 6, "/a.csv"},                                // room to spare
        {0, 7, 6, "/a.csv"},                                 // the path and its terminator
        {0, 6, 5, "/a.cs"},                                  // one short: cut, terminated
        {0, 1, 0, ""},                                       // the terminator alone
        {1, 64, static_cast<UINT>(strLong.size()), strLong}, // bytes, not characters
        {1, 8, 7, strLong.substr(0, 7)},                     // cut inside a character
        {2, 64, 0, ""},                                      // an empty path
    };
    for (const SCase& c : cases)
    {
        char szBuffer[80];
        std::memset(szBuffer, 'x', sizeof(szBuffer));
        EXPECT_EQ(DragQueryFileA(h, c.iFile, szBuffer, c.cch), c.nAnswer)
            << "file " << c.iFile << " cch " << c.cch;
        EXPECT_EQ(std::string(szBuffer), c.strCopied) << "file " << c.iFile << " cch " << c.cch;
        EXPECT_EQ(szBuffer[c.cch], 'x') << "written past cch " << c.cch;
    }

    // Nothing is written with cch 0 or past the last file.
    char szUntouched[8] = "keep";
    EXPECT_EQ(DragQueryFileA(h, 0, szUntouched, 0), 0u);
    EXPECT_EQ(DragQueryFileA(h, 3, szUntouched, sizeof(szUntouched)), 0u);
    EXPECT_EQ(DragQueryFileA(h, 3, nullptr, 0), 0u);
    EXPECT_STREQ(szUntouched, "keep");
    DragFinish(h);
}

TEST_F(DropFilesTest, StaleAndUnknownHandlesAreRefused)
{
    CWnd wnd;
    Show(wnd, 0);
    HDROP h = PlatformNewDropList(wnd.m_hWnd, {"/a.csv"});
    DragFinish(h);
    char szBuffer[16] = "keep";
    EXPECT_EQ(DragQueryFileA(h, kFileCount, nullptr, 0), 0u);
    EXPECT_EQ(DragQueryFileA(h, 0, szBuffer, sizeof(szBuffer)), 0u);
    EXPECT_EQ(DragQueryFileA(h, 0, nullptr, 0), 0u);
    DragFinish(h); // a second time: nothing happens

    int nNotADrop = 0;
    HDROP hMadeUp = reinterpret_cast<HDROP>(&nNotADrop);
    EXPECT_EQ(DragQueryFileA(hMadeUp, kFileCount, nullptr, 0), 0u);
    EXPECT_EQ(DragQueryFileA(hMadeUp, 0, szBuffer, sizeof(szBuffer)), 0u);
    DragFinish(hMadeUp);
    EXPECT_EQ(nNotADrop, 0);
    EXPECT_EQ(DragQueryFileA(nullptr, kFileCount, nullptr, 0), 0u);
    DragFinish(nullptr);
    EXPECT_STREQ(szBuffer, "keep");
}

TEST_F(DropFilesTest, ListsGoWithTheirWindowAndUnhandledDropsAreGivenBack)
{
    // Never given back by the handler: freed when the window goes.
    HDROP hKept = nullptr;
    {
        CDropProbe probe;
        probe.m_bKeep = true;
        Show(probe, 0);
        hKept = PlatformNewDropList(probe.m_hWnd, {"/kept.csv"});
        probe.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(hKept), 0);
        ASSERT_EQ(probe.m_vecDrops, (std::vector<FileList>{{"/kept.csv"}}));
        EXPECT_EQ(probe.m_hLast, hKept);
        EXPECT_EQ(DragQueryFileA(hKept, kFileCount, nullptr, 0), 1u);
        HDROP hNeverSent = PlatformNewDropList(probe.m_hWnd, {"/never.csv"});
        EXPECT_EQ(PlatformLiveDropLists(), m_nListsBefore + 2);
        EXPECT_TRUE(probe.DestroyWindow());
        EXPECT_EQ(DragQueryFileA(hNeverSent, kFileCount, nullptr, 0), 0u);
    }
    EXPECT_EQ(DragQueryFileA(hKept, kFileCount, nullptr, 0), 0u);

    // A window without a handler of its own gives the list back unread.
    CWnd plain;
    Show(plain, 0);
    HDROP h = PlatformNewDropList(plain.m_hWnd, {"/a.csv"});
    plain.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0);
    EXPECT_EQ(DragQueryFileA(h, kFileCount, nullptr, 0), 0u);

    // Another window's going leaves this one's lists alone.
    CWnd other;
    Show(other, 0);
    HDROP hPlain = PlatformNewDropList(plain.m_hWnd, {"/b.csv"});
    other.DestroyWindow();
    EXPECT_EQ(DragQueryFileA(hPlain, kFileCount, nullptr, 0), 1u);
    DragFinish(hPlain);
}

TEST_F(DropFilesTest, WindowsThatAcceptFilesTakeDragsOfLocalFilesOnly)
{
    const auto local = Files({"file:///tmp/a.csv", "file:///tmp/b%20c.csv"});
    const auto remote = Files({"https://example.org/a.csv"});
    const auto mixed = Files({"file:///tmp/a.csv", "https://example.org/b.csv"});
    const auto text = Text("/tmp/a.csv");

    CDropProbe byStyle;
    QWidget* w = Show(byStyle, WS_EX_ACCEPTFILES);
    EXPECT_TRUE(w->acceptDrops());
    Qt::DropAction action = Qt::IgnoreAction;
    EXPECT_TRUE(TakesDrag(w, local.get(), &action));
    EXPECT_EQ(action, Qt::CopyAction) << "files are copied, never moved away";
    EXPECT_FALSE(TakesDrag(w, remote.get()));
    EXPECT_FALSE(TakesDrag(w, mixed.get()));
    EXPECT_FALSE(TakesDrag(w, text.get()));
    EXPECT_FALSE(Drop(w, text.get()));
    EXPECT_FALSE(Drop(w, remote.get()));

    CDropProbe byCall;
    QWidget* p = Show(byCall, 0);
    EXPECT_FALSE(p->acceptDrops());
    EXPECT_FALSE(TakesDrag(p, local.get()));
    DragAcceptFiles(byCall.m_hWnd, TRUE);
    EXPECT_EQ(byCall.GetExStyle() & WS_EX_ACCEPTFILES, WS_EX_ACCEPTFILES);
    EXPECT_TRUE(p->acceptDrops());
    EXPECT_TRUE(TakesDrag(p, local.get()));
    DragAcceptFiles(byCall.m_hWnd, FALSE);
    EXPECT_EQ(byCall.GetExStyle() & WS_EX_ACCEPTFILES, 0u);
    EXPECT_FALSE(p->acceptDrops());
    EXPECT_FALSE(TakesDrag(p, local.get()));
    EXPECT_FALSE(Drop(p, local.get()));
    QCoreApplication::processEvents();
    EXPECT_TRUE(byStyle.m_vecDrops.empty());
    EXPECT_TRUE(byCall.m_vecDrops.empty());
}

TEST_F(DropFilesTest, AnEditKeepsItsOwnTextDragsUntilItAcceptsFiles)
{
    CWnd parent;
    Show(parent, 0);
    CWnd edit;
    ASSERT_TRUE(edit.Create("EDIT", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), &parent, 7));
    QWidget* e = WidgetFromHwnd(edit.m_hWnd);
    const auto text = Text("typed");
    const auto local = Files({"file:///tmp/a.csv"});
    EXPECT_TRUE(TakesDrag(e, text.get()));
    DragAcceptFiles(edit.m_hWnd, TRUE);
    EXPECT_FALSE(TakesDrag(e, text.get()));
    EXPECT_TRUE(TakesDrag(e, local.get()));
    DragAcceptFiles(edit.m_hWnd, FALSE);
    EXPECT_TRUE(e->acceptDrops());
    EXPECT_TRUE(TakesDrag(e, text.get()));
}

TEST_F(DropFilesTest, ADropArrivesAfterItEndsWithTheFilesInOrder)
{
    CDropProbe probe;
    QWidget* w = Show(probe, WS_EX_ACCEPTFILES);
    const auto local = Files({"file:///tmp/first.csv", "file:///tmp/k%E7%BA%BF.csv"});
    EXPECT_TRUE(Drop(w, local.get()));
    EXPECT_TRUE(probe.m_vecDrops.empty()) << "the message is posted, not sent from the drop";
    QCoreApplication::processEvents();
    EXPECT_EQ(probe.m_vecDrops, (std::vector<FileList>{{"/tmp/first.csv", "/tmp/k线.csv"}}));
    EXPECT_EQ(DragQueryFileA(probe.m_hLast, kFileCount, nullptr, 0), 0u) << "given back";
}

TEST_F(DropFilesTest, AWindowThatGoesBeforeItsDropArrivesGetsNothingAndLeavesNothing)
{
    auto pProbe = std::make_unique<CDropProbe>();
    QWidget* w = Show(*pProbe, WS_EX_ACCEPTFILES);
    const auto local = Files({"file:///tmp/a.csv"});
    EXPECT_TRUE(Drop(w, local.get()));
    EXPECT_EQ(PlatformLiveDropLists(), m_nListsBefore + 1);
    pProbe->DestroyWindow();
    EXPECT_EQ(PlatformLiveDropLists(), m_nListsBefore);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pProbe->m_vecDrops.empty());
}

} // namespace
