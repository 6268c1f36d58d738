// The device link: opens a device by name, reads its status word, closes it.
//
// A handle is a non-zero 32-bit number; while it is open the device serves this client
// alone, so open it only for as long as it is needed. The calls may come from any thread.
#pragma once

#include "afx/afx.h"

// Status word bits (64 bits): the device is ready; the device has a single paper tray
// (both bits set: 21 of the low word, 30 of the high word).
constexpr ULONGLONG DVL_STATUS_READY = 0x1;
constexpr ULONGLONG DVL_STATUS_SINGLE_TRAY = (1ULL << 21) | (1ULL << 62);

// What DvlGetPrinterStatus puts into its second argument.
constexpr DWORD DVL_RESULT_OK = 0;
constexpr DWORD DVL_RESULT_BAD_HANDLE = 1;

// Told of every status read on the handle it is registered for, with its context.
using DVLCALLBACK = void (*)(DWORD context, ULONGLONG status);

// The device's handle, 0 when the device is unknown, busy or does not answer.
DWORD DvlOpenMFP(LPCTSTR deviceName);
// A null callback registers none. Non-zero on success.
DWORD DvlRegisterCallback(DWORD handle, DVLCALLBACK callback, DWORD context);
// The status word; 0, with DVL_RESULT_BAD_HANDLE in *result, for a handle that is not open.
ULONGLONG DvlGetPrinterStatus(DWORD handle, DWORD* result);
DWORD DvlUnregisterCallback(DWORD handle);
// Releases the device. Non-zero on success.
DWORD DvlCloseMFP(DWORD handle);

// Whether the selected device has a second paper tray, as its status word last told (TRUE
// until a device says otherwise): the machine settings page shows tray 2's paper size only then.
extern BOOL secondTrayShown;
