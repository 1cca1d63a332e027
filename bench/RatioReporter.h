// A console reporter that keeps each benchmark's time, so a program can print how much dearer
// one case is than another after the table.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& vecRuns) override
    {
        // One run, or the median of repetitions when there are some.
        for (const Run& run : vecRuns)
            if ((run.run_type == Run::RT_Iteration && run.iterations > 0) ||
                (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median"))
                m_mapTimes[run.run_name.function_name + "/" + run.run_name.args] =
                    run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(vecRuns);
    }

    // "NAME: the 10,000th trade takes 1.02 times the 10th (at most 1.5: yes)" for the runs of
    // pszName with the arguments "10000" and "10".
    void PrintRatio(const char* pszName, const char* pszMany, const char* pszFew,
                    const char* pszWhat, double dLimit) const
    {
        const auto itFew = m_mapTimes.find(std::string(pszName) + "/" + pszFew);
        const auto itMany = m_mapTimes.find(std::string(pszName) + "/" + pszMany);
        if (itFew == m_mapTimes.end() || itMany == m_mapTimes.end() || itFew->second <= 0.0)
            return;
        const double dRatio = itMany->second / itFew->second;
        std::printf("%s: %s %.2f times (at most %.1f: %s)\n", pszName, pszWhat, dRatio, dLimit,
                    dRatio <= dLimit ? "yes" : "NO");
    }

private:
    std::map<std::string, double> m_mapTimes;
};
