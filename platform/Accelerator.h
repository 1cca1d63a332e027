// Accelerator tables: keys that send a command to a window whatever control inside it has the
// keyboard focus, so a focused push button does not take Space for itself.
#pragma once

#include "platform/WinTypes.h"

constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

constexpr WORD VK_ESCAPE = 0x1B;
constexpr WORD VK_SPACE = 0x20;
constexpr WORD VK_LEFT = 0x25;
constexpr WORD VK_RIGHT = 0x27;
constexpr WORD VK_ADD = 0x6B;      // keypad +
constexpr WORD VK_SUBTRACT = 0x6D; // keypad -
constexpr WORD VK_OEM_PLUS = 0xBB; // the =/+ key
constexpr WORD VK_OEM_MINUS = 0xBD;

struct ACCEL
{
    BYTE fVirt = FVIRTKEY; // FVIRTKEY plus the modifiers that must be held
    WORD key = 0;          // a virtual key; letters and digits are their upper-case ASCII codes
    WORD cmd = 0;          // the command id, sent as WM_COMMAND the way a menu item sends it
};

struct HACCEL__;
using HACCEL = HACCEL__*;

HACCEL CreateAcceleratorTable(const ACCEL* pAccel, int nCount);
BOOL DestroyAcceleratorTable(HACCEL hAccel);

// Keys pressed in hWnd or any of its child controls are looked up in hAccel; a match sends its
// command to hWnd instead of reaching the control. Shift only matters when the entry asks for
// it, so "+" works typed with or without Shift. Null removes the window's table. The table must
// live as long as it is set.
BOOL SetWindowAccelerators(HWND hWnd, HACCEL hAccel);

// The command hAccel gives to a key of Qt's numbering with Qt's modifier bits, 0 for none.
// Exposed for the tests of the key mapping.
WORD LookUpAccelerator(HACCEL hAccel, int nQtKey, unsigned nQtModifiers);
