// The console's own password, kept in the machine-wide settings store (organisation "Corvane",
// application the title, string 57344) under the value "Profile", as a salted yescrypt hash.
// The store's file lets every user of the machine check a password, and only its owner, the
// administrator, change it.
#pragma once

#include "afx/afx.h"

// The organisation of the console's settings, per user (recent files) and machine-wide (password).
inline constexpr char kSettingsCompany[] = "Corvane";

// The store's file: "Corvane" in the machine-wide settings folder, named after the title with
// its "/" written "-", so that the title makes no sub-folder.
QString PasswordStorePath();

// FALSE when the store exists but cannot be read: then nobody may enter. An absent store or
// value is readable, and holds the empty password.
BOOL PasswordStoreReadable();

// TRUE when `typed` is the stored password, letter case included. A value that is not a hash
// is a password stored in plain text by an earlier console: it is compared as such, and once
// typed right it is replaced by its hash (when the store can be written).
BOOL CheckPassword(const CString& typed);

// Stores the password's hash; FALSE when the store could not be written (the old password stays).
BOOL WritePassword(const CString& password);
