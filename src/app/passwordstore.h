// The console's own password, kept in the machine-wide settings store: organisation
// "Corvane", application the title (string 57344), value "Profile", in plain text.
#pragma once

#include "afx/afx.h"

// The organisation of the console's settings, per user (recent files) and machine-wide (password).
inline constexpr char kSettingsCompany[] = "Corvane";

// The stored password; "" when there is none or the store cannot be read.
CString ReadPassword();
// Stores the password; FALSE when the store could not be written (the old password stays).
BOOL WritePassword(const CString& password);
