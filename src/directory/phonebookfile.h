// Phone-book files (.phb): the directory's own serialised form and nothing else; and contact
// files (.csv, .vcf, .ldif), whose import is shown before it changes the directory.
#pragma once

#include "afx/afxwin.h"

class CPhoneBook;

// Asks for a file and reads it into the phone book (`save` FALSE) or writes the phone book to
// it (TRUE); a failure is shown to the user. The file is held exclusively while it is read
// or written. A file that cannot be read, or a contact import the user cancels, leaves the
// phone book as it was; a write that fails leaves the old file as it was.
void ImportExportPhoneBook(CPhoneBook& phoneBook, BOOL save);
