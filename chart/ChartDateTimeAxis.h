#pragma once

#include "chart/ChartAxis.h"

#include <cstdint>
#include <string>

// Unit of a date axis' tick increment.
enum DateTimeTickUnit : std::int32_t
{
    UnitSecond = 0,
    UnitMinute = 1,
    UnitHour = 2,
    UnitDay = 3,
    UnitMonth = 4,
    UnitYear = 5,
};

// Axis of OLE automation dates. Ticks step by a calendar increment (seconds to years) chosen
// from the range and the axis length, all aligned to 2000-01-01 00:00; labels are strftime
// texts with classic English month names whatever the process locale.
class CChartDateTimeAxis : public CChartAxis
{
public:
    // An OLE date that may not name a real instant (31 April, a year past 9999).
    struct SDate
    {
        double dDate = 0.0;
        bool bValid = false;
    };

    CChartDateTimeAxis();
    ~CChartDateTimeAxis() override;

    double GetFirstTick() const override;
    bool GetNextTick(double dCurrent, double* pNext) const override;
    int TickToPixel(double dValue) const override;
    int IntervalMidPixel(double dValue) const override;
    std::string FormatTickLabel(double dValue) const override;
    void RefreshTickIncrement() override;
    void RefreshFirstTick() override;
    // Steps the automatic increment up (2 days, a week, ..., or 5, 15, 30 minutes, hours)
    // until the widest label plus a gap fits between neighbouring labels.
    void FitTickLabels(CDC* pDC) override;

    // An automatic format follows the tick unit; a fixed one stays until changed.
    void SetTickLabelFormat(bool bAutomatic, const std::string& strFormat);
    // For bars with a time of day: while ticks are less than a day apart, a fixed format gives
    // way to the time ("%H:%M" within one day, "%m-%d %H:%M" across days).
    void SetTimeOfDayLabels(bool bTimeOfDay);
    // The format labels are written with at the current increment and range.
    std::string CurrentTickFormat() const;

    // The tick at or before dValue for the current increment.
    double TickAtOrBefore(double dValue) const;
    // Same day and time nMonths later (earlier when negative); invalid when that day does not
    // exist in the target month.
    static SDate AddMonths(double dDate, int nMonths);
    // Builds a date from calendar fields; valid only when the fields round-trip.
    static SDate MakeDate(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0,
                          int nSecond = 0);
    // Whole seconds, minutes, hours or days of a span of days, rounded half a second away
    // from zero.
    static std::int64_t SpanTotal(double dSpanDays, DateTimeTickUnit eUnit);
    // strftime with classic English names, independent of the process locale.
    static std::string FormatDate(double dDate, const std::string& strFormat);

private:
    // dFrom plus nSteps tick increments (negative steps go back).
    SDate StepTicks(double dFrom, int nSteps) const;
    // Fewest pixels between the label positions of neighbouring labels inside the axis; a
    // large number when fewer than two labels are inside.
    std::int64_t SmallestLabelSpacing() const;
    // The next larger increment of the ladder; false at its top.
    bool WidenTickIncrement();

public:
    std::string m_strTickFormat;
    bool m_bAutoTickFormat = true;
    DateTimeTickUnit m_eTickUnit = UnitDay;
    std::int32_t m_nTickMultiple = 1;
    double m_dFirstTick = 0.0;
    SDate m_dtReference;
    bool m_bTimeOfDayLabels = false;
};
