// Dial strings that carry a billing code.
//
// Stored form: the dialled part, then "$" and the billing code ("0140506070$1234"). A dialled
// part never holds "$" (the fax-number fields refuse it), so the first "$" starts the code.
// Shown form: the same text with "$" in place of every character of "$" and the code
// ("0140506070$$$$$"), so the shown text is as long as the stored one.
#pragma once

#include "afx/afx.h"

// What a fax-number field takes: a dialled part of these characters (no "+"), then "$" and a
// billing code of billingCodeCharacters; at most faxNumberLength characters, spaces and a "+"
// not counted.
inline constexpr char faxNumberCharacters[] = " #*,0123456789";
inline constexpr char billingCodeCharacters[] = "#*0123456789";
inline constexpr int faxNumberLength = 128;

// Splits a stored dial string: returns the shown text and puts the billing code into
// `billingCode` (empty when the string carries none).
CString FaxWithDollarSigns(const CString& dialString, CString& billingCode);

// Joins a shown text (its masked suffix, of whatever length, is dropped) and a billing code
// into the stored dial string. FaxWithChargeCode(FaxWithDollarSigns(s, c), c) == s for
// every string s.
CString FaxWithChargeCode(const CString& shownText, const CString& billingCode);
