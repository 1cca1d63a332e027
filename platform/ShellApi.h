// Files dropped on a window. A window that accepts files (DragAcceptFiles, or the
// WS_EX_ACCEPTFILES extended style) takes drags of local files; a drop arrives as WM_DROPFILES,
// posted once the drop itself has ended, with the dropped file list as wParam. The window's
// handler reads the list with DragQueryFileA and gives it back with DragFinish; a list nobody
// gives back goes with its window.
#pragma once

#include "platform/WinTypes.h"

struct HDROP__;
using HDROP = HDROP__*;

// Sets or clears WS_EX_ACCEPTFILES.
void DragAcceptFiles(HWND hWnd, BOOL fAccept);
// iFile 0xFFFFFFFF: the number of files. Else file iFile's path (UTF-8): with a null buffer its
// length without the terminator; otherwise at most cch - 1 bytes of it copied and terminated,
// answering the bytes copied. 0 for a stale or unknown handle, an index past the end or cch 0.
UINT DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch);
// Frees the list; the handle is stale from then on.
void DragFinish(HDROP hDrop);
