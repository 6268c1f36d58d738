// The kinds of destination a report or a supplies order is sent to, and the list of those a
// window offers. Lists of this kind carry each item's kind, or any other choice, as its item
// data.
#pragma once

#include "afx/afxwin.h"

class CPhoneBook;

struct DestinationKind {
    int kind;            // 0 fax number, 1 e-mail address, 2 speed dial, 3 one-touch key, 4 group dial
    UINT textId;
    int directoryKind;   // the phone book's kind of the entry named by number; 0 for none
    int digits;          // the digits that number is shown with
};

// nullptr for a kind outside 0 to 4.
const DestinationKind* FindDestinationKind(int kind);

// Empties the list and adds the kinds 0 to `lastKind` that can be chosen: e-mail addresses only
// in network mode, entries of the directory only when it holds one of their kind.
void FillDestinationKinds(CComboBox& list, int lastKind, const CPhoneBook& phoneBook);

void AddItemWithData(CComboBox& list, UINT textId, int data);
// The selected item's data; -1 when nothing is selected.
int SelectedItemData(CComboBox& list);
// The first item with that data; CB_ERR when none has it.
int FindItemData(CComboBox& list, int data);
