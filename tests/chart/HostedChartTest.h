#pragma once

#include "ChartTestApp.h"
#include "CountingChart.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"
#include "platform/PlatformApp.h"
#include "platform/testsupport/TestSupport.h"

#include <QWidget>
#include <gtest/gtest.h>

// The replay's chart, 640 x 400, filling a plain top-level window as it fills its place in a
// dialog, with a date axis and a price axis that follow the points. A fixture puts its series
// and overlays on it in AddContent, before the window is shown.
class CHostedChartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureChartTestApp();
        ASSERT_TRUE(m_host.CreateEx(0, nullptr, "", WS_POPUP, RECT{0, 0, 640, 400}, nullptr, 0));
        ASSERT_TRUE(m_chart.CreateEx(0, "ChartCtrl", "", WS_CHILD | WS_VISIBLE,
                                     RECT{0, 0, 640, 400}, &m_host, 1000));
        m_pDates = m_chart.NewDateTimeAxis();
        m_pDates->SetRangeMode(AllPoints);
        m_pPrices = m_chart.NewStandardAxis();
        m_pPrices->SetRangeMode(AllPoints);
        AddContent();
        m_host.ShowWindow(SW_SHOW);
        CPlatformApp::ProcessEvents();
        m_pWidget = WidgetFromHwnd(m_chart.GetSafeHwnd());
        ASSERT_NE(m_pWidget, nullptr);
    }

    virtual void AddContent() = 0;

    CWnd m_host;
    CCountingChart m_chart;
    CChartDateTimeAxis* m_pDates = nullptr;  // owned by m_chart
    CChartStandardAxis* m_pPrices = nullptr; // owned by m_chart
    QWidget* m_pWidget = nullptr;
};
