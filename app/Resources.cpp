#include "app/Resources.h"

#include "core/ReplaySpeed.h"

#include <QImage>
#include <QPixmap>

#include <array>
#include <cstdint>
#include <vector>

namespace
{

using DWORD = std::uint32_t;

// The program's icon: three candles on a dark rounded tile, drawn here so no image file ships.
std::vector<DWORD> IconPixels()
{
    constexpr int n = ORVANTA_ICON_SIZE;
    constexpr DWORD crTile = 0xFF1F2937;
    constexpr DWORD crEdge = 0xFF4B5563;
    constexpr DWORD crRise = 0xFFE5484D; // red rises, as on the exchanges the texts are written for
    constexpr DWORD crFall = 0xFF2EBD59;

    std::vector<DWORD> vecPixels(static_cast<std::size_t>(n) * n, 0x00000000);
    auto put = [&](int x, int y, DWORD cr)
    {
        if (x >= 0 && x < n && y >= 0 && y < n)
            vecPixels[static_cast<std::size_t>(y) * n + x] = cr;
    };

    // Tile with corners cut on a radius of 4 pixels.
    constexpr int r = 4;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
        {
            const int dx = x < r ? r - x : (x >= n - r ? x - (n - r - 1) : 0);
            const int dy = y < r ? r - y : (y >= n - r ? y - (n - r - 1) : 0);
            const int d2 = dx * dx + dy * dy;
            if (d2 > r * r)
                continue;
            const bool bEdge =
                x == 0 || y == 0 || x == n - 1 || y == n - 1 || d2 > (r - 1) * (r - 1);
            put(x, y, bEdge ? crEdge : crTile);
        }

    struct SCandle
    {
        int nCenter, nWickTop, nWickBottom, nBodyTop, nBodyBottom;
        DWORD cr;
    };
    constexpr std::array<SCandle, 3> candles = {{
        {8, 13, 27, 16, 24, crFall},
        {16, 7, 23, 10, 19, crRise},
        {24, 3, 17, 6, 13, crRise},
    }};
    for (const SCandle& c : candles)
    {
        for (int y = c.nWickTop; y <= c.nWickBottom; ++y)
        {
            put(c.nCenter - 1, y, c.cr);
            put(c.nCenter, y, c.cr);
        }
        for (int y = c.nBodyTop; y <= c.nBodyBottom; ++y)
            for (int x = c.nCenter - 3; x <= c.nCenter + 2; ++x)
                put(x, y, c.cr);
    }
    return vecPixels;
}

} // namespace

std::string LoadAppString(unsigned nId)
{
    return AppText(nId);
}

QString AppQText(unsigned nId)
{
    return QString::fromUtf8(AppText(nId));
}

std::string SpeedText(int nPeriodMs)
{
    return StringFormat(AppText(IDS_SPEED_TEXT), ReplaySpeedSeconds(nPeriodMs).c_str());
}

QIcon AppIcon()
{
    static const std::vector<DWORD> s_vecPixels = IconPixels();
    const QImage image(reinterpret_cast<const uchar*>(s_vecPixels.data()), ORVANTA_ICON_SIZE,
                       ORVANTA_ICON_SIZE, ORVANTA_ICON_SIZE * 4, QImage::Format_ARGB32);
    return QIcon(QPixmap::fromImage(image.copy()));
}
