// CCmdTarget and MFC's message-map macros.
//
// Window messages (WM_PAINT, WM_SIZE, mouse, WM_TIMER, WM_HSCROLL, ...) reach CWnd's virtual
// handlers directly; the ON_WM_* entries are accepted for familiarity and change nothing.
// Commands (WM_COMMAND from menus and controls) are routed through the message map:
//
//     // header:  DECLARE_MESSAGE_MAP()
//     BEGIN_MESSAGE_MAP(COrvantaDlg, CDialogEx)
//         ON_WM_TIMER()
//         ON_BN_CLICKED(1001, &COrvantaDlg::OnLoad)
//         ON_COMMAND(32773, &COrvantaDlg::OnLoad)
//     END_MESSAGE_MAP()
#pragma once

#include "platform/WinTypes.h"

class CCmdTarget;
using AFX_PMSG = void (CCmdTarget::*)();

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage; // WM_COMMAND for command entries, the window message for ON_WM_* entries, 0 at
                   // the end
    UINT nCode;    // notification code (BN_CLICKED = 0 for menus and buttons)
    UINT nID;      // first command id
    UINT nLastID;  // last command id (same as nID except for ranges)
    UINT_PTR nSig; // 0 = end, 1 = void handler, 2 = informational window-message entry
    AFX_PMSG pfn;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

constexpr UINT_PTR AfxSig_end = 0;
constexpr UINT_PTR AfxSigCmd_v = 1;
constexpr UINT_PTR AfxSig_msg = 2;

class CCmdTarget
{
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Calls the handler mapped to (nID, nCode) in this class's map or a base class's map; TRUE when
    // one was found.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra = nullptr,
                          void* pHandlerInfo = nullptr);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                              \
    {                                                                                              \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, AfxSig_end, nullptr                                                            \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND,                                                                                   \
     0,                                                                                            \
     static_cast<UINT>(id),                                                                        \
     static_cast<UINT>(id),                                                                        \
     AfxSigCmd_v,                                                                                  \
     static_cast<AFX_PMSG>(memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                    \
    {WM_COMMAND,                                                                                   \
     0,                                                                                            \
     static_cast<UINT>(id),                                                                        \
     static_cast<UINT>(idLast),                                                                    \
     AfxSigCmd_v,                                                                                  \
     static_cast<AFX_PMSG>(memberFxn)},
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                     \
    {WM_COMMAND,  static_cast<UINT>(wNotifyCode),  static_cast<UINT>(id), static_cast<UINT>(id),   \
     AfxSigCmd_v, static_cast<AFX_PMSG>(memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)

#define ON_WM_MESSAGE_ENTRY_(msg) {msg, 0, 0, 0, AfxSig_msg, nullptr},
#define ON_WM_CREATE() ON_WM_MESSAGE_ENTRY_(WM_CREATE)
#define ON_WM_DESTROY() ON_WM_MESSAGE_ENTRY_(WM_DESTROY)
#define ON_WM_CLOSE() ON_WM_MESSAGE_ENTRY_(WM_CLOSE)
#define ON_WM_PAINT() ON_WM_MESSAGE_ENTRY_(WM_PAINT)
#define ON_WM_ERASEBKGND() ON_WM_MESSAGE_ENTRY_(WM_ERASEBKGND)
#define ON_WM_SIZE() ON_WM_MESSAGE_ENTRY_(WM_SIZE)
#define ON_WM_MOUSEMOVE() ON_WM_MESSAGE_ENTRY_(WM_MOUSEMOVE)
#define ON_WM_MOUSEWHEEL() ON_WM_MESSAGE_ENTRY_(WM_MOUSEWHEEL)
#define ON_WM_LBUTTONDOWN() ON_WM_MESSAGE_ENTRY_(WM_LBUTTONDOWN)
#define ON_WM_LBUTTONUP() ON_WM_MESSAGE_ENTRY_(WM_LBUTTONUP)
#define ON_WM_LBUTTONDBLCLK() ON_WM_MESSAGE_ENTRY_(WM_LBUTTONDBLCLK)
#define ON_WM_RBUTTONDOWN() ON_WM_MESSAGE_ENTRY_(WM_RBUTTONDOWN)
#define ON_WM_RBUTTONUP() ON_WM_MESSAGE_ENTRY_(WM_RBUTTONUP)
#define ON_WM_RBUTTONDBLCLK() ON_WM_MESSAGE_ENTRY_(WM_RBUTTONDBLCLK)
#define ON_WM_HSCROLL() ON_WM_MESSAGE_ENTRY_(WM_HSCROLL)
#define ON_WM_VSCROLL() ON_WM_MESSAGE_ENTRY_(WM_VSCROLL)
#define ON_WM_TIMER() ON_WM_MESSAGE_ENTRY_(WM_TIMER)
#define ON_WM_SETCURSOR() ON_WM_MESSAGE_ENTRY_(WM_SETCURSOR)
#define ON_WM_SYSCOMMAND() ON_WM_MESSAGE_ENTRY_(WM_SYSCOMMAND)
#define ON_WM_QUERYDRAGICON() ON_WM_MESSAGE_ENTRY_(WM_QUERYDRAGICON)
#define ON_WM_DROPFILES() ON_WM_MESSAGE_ENTRY_(WM_DROPFILES)

// Run-time class information is C++'s own (dynamic_cast); these wizard macros expand to nothing.
#define DECLARE_DYNAMIC(class_name)
#define IMPLEMENT_DYNAMIC(class_name, base_class_name)
#define DECLARE_DYNCREATE(class_name)
#define IMPLEMENT_DYNCREATE(class_name, base_class_name)
