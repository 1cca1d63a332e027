// Files dropped on windows: which windows take drags, the dropped file lists and WM_DROPFILES.
#include <QDropEvent>
#include <QMetaObject>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <cstring>

#include "platform/ShellApi.h"
#include "platform/WinUser.h"
#include "platform/detail/HandleRegistry.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

struct HDROP__
{
    HWND hOwner = nullptr; // the window it was dropped on
    std::vector<std::string> vecPaths;
};

namespace
{

constexpr UINT kFileCount = 0xFFFFFFFF;

HDROP LiveDrop(HDROP h)
{
    return Registry<HDROP>().Live(h);
}

void FreeDrop(HDROP h)
{
    Registry<HDROP>().Remove(h);
    delete h;
}

bool AcceptsFiles(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr && (hWnd->dwExStyle & WS_EX_ACCEPTFILES) != 0;
}

// The paths of a drag that holds local files only (UTF-8); empty for anything else: text,
// remote addresses, a mix of local and remote.
std::vector<std::string> LocalFiles(const QMimeData* pData)
{
    std::vector<std::string> vecPaths;
    if (pData == nullptr || !pData->hasUrls())
        return vecPaths;
    for (const QUrl& url : pData->urls())
    {
        if (!url.isLocalFile() || url.toLocalFile().isEmpty())
            return {};
        vecPaths.push_back(url.toLocalFile().toStdString());
    }
    return vecPaths;
}

// Files are copied from where they lie, as a drop of files is on Windows.
void TakeAsCopy(QDropEvent* pEvent)
{
    if ((pEvent->possibleActions() & Qt::CopyAction) != 0)
        pEvent->setDropAction(Qt::CopyAction);
    pEvent->accept();
}

} // namespace

namespace platform_detail
{

HDROP NewDrop(HWND hWnd, std::vector<std::string> vecPaths)
{
    auto* h = new HDROP__;
    h->hOwner = hWnd;
    h->vecPaths = std::move(vecPaths);
    return Registry<HDROP>().Add(h);
}

void FreeDropsOf(HWND hWnd)
{
    std::vector<HDROP> vecLeft;
    std::copy_if(Registry<HDROP>().begin(), Registry<HDROP>().end(), std::back_inserter(vecLeft),
                 [hWnd](HDROP h) { return h->hOwner == hWnd; });
    for (HDROP h : vecLeft)
        FreeDrop(h);
}

void ShowAcceptFiles(HWND hWnd)
{
    if (LiveWnd(hWnd) != nullptr && hWnd->pWidget != nullptr)
        hWnd->pWidget->setAcceptDrops(AcceptsFiles(hWnd) || hWnd->bToolkitDrops);
}

bool OfferDrag(HWND hWnd, QDropEvent* pEvent)
{
    if (!AcceptsFiles(hWnd))
        return false;
    if (LocalFiles(pEvent->mimeData()).empty())
    {
        pEvent->ignore();
        return true;
    }
    TakeAsCopy(pEvent);
    return true;
}

bool DeliverDrop(HWND hWnd, QDropEvent* pEvent)
{
    if (!AcceptsFiles(hWnd))
        return false;
    std::vector<std::string> vecPaths = LocalFiles(pEvent->mimeData());
    if (vecPaths.empty())
    {
        pEvent->ignore();
        return true;
    }
    TakeAsCopy(pEvent);
    // Posted: the drag source waits for the drop to end, and a handler may run a message box.
    // Should the window go first, its list goes with it (FreeDropsOf).
    HDROP hDrop = NewDrop(hWnd, std::move(vecPaths));
    QMetaObject::invokeMethod(
        hWnd->pWidget.data(),
        [hWnd, hDrop]
        {
            if (LiveDrop(hDrop) != nullptr && hDrop->hOwner == hWnd)
                Send(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
        },
        Qt::QueuedConnection);
    return true;
}

} // namespace platform_detail

void DragAcceptFiles(HWND hWnd, BOOL fAccept)
{
    if (LiveWnd(hWnd) == nullptr)
        return;
    if (fAccept)
        hWnd->dwExStyle |= WS_EX_ACCEPTFILES;
    else
        hWnd->dwExStyle &= ~WS_EX_ACCEPTFILES;
    ShowAcceptFiles(hWnd);
}

UINT DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch)
{
    if (LiveDrop(hDrop) == nullptr)
        return 0;
    if (iFile == kFileCount)
        return static_cast<UINT>(hDrop->vecPaths.size());
    if (iFile >= hDrop->vecPaths.size())
        return 0;
    const std::string& strPath = hDrop->vecPaths[iFile];
    if (lpszFile == nullptr)
        return static_cast<UINT>(strPath.size());
    if (cch == 0)
        return 0;
    const std::size_t nCopied = std::min<std::size_t>(strPath.size(), cch - 1);
    std::memcpy(lpszFile, strPath.data(), nCopied);
    lpszFile[nCopied] = '\0';
    return static_cast<UINT>(nCopied);
}

void DragFinish(HDROP hDrop)
{
    if (LiveDrop(hDrop) != nullptr)
        FreeDrop(hDrop);
}
