// A K-line file dropped on the main window loads as one chosen with the load button.
#include "AppTestSupport.h"

#include "app/OrvantaDlg.h"
#include "chart/ChartCandlestickSerie.h"
#include "core/ReplaySpeed.h"
#include "platform/ShellApi.h"
#include "platform/testsupport/TestSupport.h"

#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace
{

constexpr int kQuietSeconds = 3600; // the dialog's own timer never ticks during a test

class DropFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureAppTestToolkit();
        ReplaySettings() = SReplaySettings{};
        ReplaySettings().m_nRefreshSeconds = kQuietSeconds;
        m_nListsBefore = PlatformLiveDropLists();
    }
    void TearDown() override
    {
        ReplaySettings() = SReplaySettings{};
        EXPECT_EQ(PlatformLiveDropLists(), m_nListsBefore) << "a dropped file list was left";
    }

    void RunDialog(const std::function<void()>& body) { RunModalDialog(m_dlg, body); }

    // WM_DROPFILES as a drop of these files on the main window posts it.
    void DropMessage(const std::vector<std::string>& vecPaths)
    {
        HDROP hDrop = PlatformNewDropList(m_dlg.GetSafeHwnd(), vecPaths);
        m_dlg.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
        EXPECT_EQ(DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0), 0u) << "the list is given back";
    }

    std::string Info() const
    {
        std::string strText;
        m_dlg.GetDlgItemText(IDC_EDIT_INFO, strText);
        return strText;
    }

    int ShownCandles()
    {
        int nCandles = 0;
        m_dlg.m_chart.RewindSeries();
        while (CChartSerie* pSerie = m_dlg.m_chart.NextSerie())
            if (auto* pCandles = dynamic_cast<CChartCandlestickSerie*>(pSerie))
                nCandles += static_cast<int>(pCandles->PointCount());
        return nCandles;
    }

    CWorkDir m_dir;
    COrvantaDlg m_dlg;
    std::size_t m_nListsBefore = 0;
};

TEST_F(DropFileTest, TheFirstDroppedFileLoadsAndReplacesAPlayingOne)
{
    const std::string strHundred = m_dir.Write("hundred.csv", KLineText(100));
    const std::string strForty = m_dir.Write("forty.csv", KLineText(40));
    RunDialog(
        [&]
        {
            DropMessage({strHundred, strForty});
            EXPECT_EQ(Info(), LoadedInfo(strHundred, 100));
            EXPECT_EQ(m_dlg.m_player.m_nBarCount, 100);

            m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_PLAY, BN_CLICKED), 0);
            ASSERT_TRUE(m_dlg.m_bPlaying);
            ASSERT_GT(ShownCandles(), 0);
            // Exactly what a file chosen with the load button does: stopped, chart cleared.
            DropMessage({strForty});
            EXPECT_EQ(Info(), LoadedInfo(strForty, 40));
            EXPECT_EQ(m_dlg.m_player.m_nBarCount, 40);
            EXPECT_FALSE(m_dlg.m_bPlaying);
            EXPECT_EQ(ShownCandles(), 0);
        });
}

TEST_F(DropFileTest, ADroppedFileThatCannotBeReadIsReportedInABox)
{
    const std::string strMissing = (m_dir.Path() / "missing.csv").string();
    QString strBoxText;
    testing::internal::CaptureStderr();
    RunDialog(
        [&]
        {
            WhenModal([](QWidget* pWindow)
                      { return qobject_cast<QMessageBox*>(pWindow) != nullptr; },
                      [&](QWidget* pWindow)
                      {
                          auto* pBox = qobject_cast<QMessageBox*>(pWindow);
                          strBoxText = pBox->text();
                          pBox->button(QMessageBox::Ok)->click();
                      });
            DropMessage({strMissing});
            EXPECT_EQ(Info(), LoadedInfo(strMissing, 0));
        });
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(strBoxText.contains(QString::fromStdString(strMissing)))
        << strBoxText.toStdString();
}

TEST_F(DropFileTest, AFileDroppedOnTheWindowReachesItThroughItsWidget)
{
    const std::string strPath = m_dir.Write("bars.csv", KLineText(30));
    RunDialog(
        [&]
        {
            EXPECT_EQ(m_dlg.GetExStyle() & WS_EX_ACCEPTFILES, WS_EX_ACCEPTFILES);
            QWidget* pWindow = WidgetFromHwnd(m_dlg.GetSafeHwnd());
            ASSERT_NE(pWindow, nullptr);
            QMimeData text;
            text.setText(QString::fromStdString(strPath));
            QDragEnterEvent enterText(QPoint(20, 40), Qt::CopyAction, &text, Qt::LeftButton,
                                      Qt::NoModifier);
            QApplication::sendEvent(pWindow, &enterText);
            EXPECT_FALSE(enterText.isAccepted()) << "a path as text is not a file";

            QMimeData files;
            files.setUrls({QUrl::fromLocalFile(QString::fromStdString(strPath))});
            QDragEnterEvent enter(QPoint(20, 40), Qt::CopyAction, &files, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(pWindow, &enter);
            EXPECT_TRUE(enter.isAccepted());
            QDropEvent drop(QPointF(20, 40), Qt::CopyAction, &files, Qt::LeftButton,
                            Qt::NoModifier);
            QApplication::sendEvent(pWindow, &drop);
            EXPECT_TRUE(drop.isAccepted());
            Pump(50);
            EXPECT_EQ(Info(), LoadedInfo(strPath, 30));
        });
}

} // namespace
