// The Windows base types and debugging macros the console's code is written with.
#pragma once

#include <QtGlobal>
#include <cstdint>

using BOOL = int;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Widths as on Windows; LONG and DWORD are 32 bits here too (long is 64 bits on Linux),
// so LONG is the same type as int and DWORD the same type as UINT.
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using LONGLONG = long long;
using ULONGLONG = unsigned long long;
using INT_PTR = std::intptr_t;

// Text is UTF-16, as in a Unicode build: TCHAR is char16_t and _T("x") is u"x", the same
// code units QString holds, so a CString hands out its buffer as LPCTSTR without copying.
// Functions of the layer take text as `const CString&`, which accepts CString, QString,
// _T("...") and UTF-8 "..." literals alike.
using TCHAR = char16_t;
using LPCTSTR = const TCHAR*;
using LPTSTR = TCHAR*;
#define AFX_TEXT_(x) u##x
#define _T(x) AFX_TEXT_(x)

// ASSERT checks in debug builds only; VERIFY always evaluates its expression.
#define ASSERT(f) Q_ASSERT(f)
#ifdef QT_NO_DEBUG
#define VERIFY(f) static_cast<void>(f)
#else
#define VERIFY(f) Q_ASSERT(f)
#endif
