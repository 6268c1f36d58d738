// The layout of the directory's serialised form, for its writer and readers (CPhoneBook, and
// the device's check of a record it is sent, which walks the directory without building it).
#pragma once

#include "afx/afx.h"

#include <utility>
#include <vector>

namespace phonebookformat {

// The highest number of each kind (the one-touch keys' is COneTouch::max_count).
constexpr int highestSpeedDial = 999;
constexpr int highestGroupDial = 1999;

// How a one-touch key's reference is written.
enum RefKind : BYTE { noRef = 0, ownRecord = 1, speedDialRef = 2, groupDialRef = 3 };
// How a group member is written: the kind numbers of the directory.
enum MemberKind : BYTE { speedDialMember = 1, oneTouchMember = 2 };

constexpr DWORD phoneBookMagic = 0x42485054;   // "TPHB"
// The layout of the phone book's serialised form (phone-book files, and the directory of a
// settings file): as for the record, a change raises it and older layouts keep being read.
constexpr DWORD phoneBookSchema = 1;

// Smallest stored sizes, so that counts are checked against what is left of the stream.
constexpr DWORD minDialingDataBytes = 7 * 4 + 10 * 4;
constexpr DWORD minSpeedDialBytes = 4 + minDialingDataBytes;
constexpr DWORD minOneTouchBytes = 4 + 1;
constexpr DWORD minGroupDialBytes = 4 + 4 + 4;
constexpr DWORD memberBytes = 1 + 4;

// Marks entries by number as taken by the group being read or written, so that a member is
// taken once; a new group needs no clearing.
class GroupMarks {
public:
    explicit GroupMarks(int highest) : marks(static_cast<size_t>(highest) + 1, 0) {}
    // Whether the entry was not yet marked for this group; marks it.
    bool Mark(int number, DWORD group)
    {
        // A held entry may carry a number above today's capacity (lowered after it was added).
        const auto at = static_cast<size_t>(number);
        if (at >= marks.size())
            marks.resize(at + 1, 0);
        DWORD& mark = marks[at];
        return std::exchange(mark, group) != group;
    }

private:
    std::vector<DWORD> marks;
};

} // namespace phonebookformat
