// The directory: speed dials, one-touch keys and group dials.
//
// Kinds, as the directory's operations number them: 1 speed dials, 2 one-touch keys,
// 3 group dials; 4 means all three.
//
// Entries refer to each other by pointer: a one-touch key to a speed dial or a group dial
// (or to a dialing record of its own), a group to its member speed dials and one-touch keys.
// The phone book keeps those pointers sound: deleting an entry also removes it from every
// group, and deletes the one-touch keys that stood for it (they would dial nothing).
#pragma once

#include "device/lib/fields.h"
#include "device/lib/idobject.h"

#include <functional>
#include <unordered_set>
#include <vector>

// How to reach one destination: its numbers, name and transmission options.
class CDialingData : public CFieldObject<CDialingData> {
    DECLARE_SERIAL(CDialingData)
public:
    CString faxNumber;             // stored dial strings: they may carry a billing code
    CString secondNumber;
    CString name;
    int dialLine = 0;              // the device has two lines
    int maxSpeed = 0;              // 0 fastest, 1 14400, 2 9600, 3 4800
    int printConfirmation = 0;
    int monitorTone = 0;
    int delayedDial = 0;
    int delayHour = 0;
    int delayMinute = 0;
    int ituMailbox = 0;
    CString subAddress;
    CString pollingSubAddress;
    CString mailboxPassword;
    CString emailAddress;
    int resolution = 0;
    int compression = 0;           // 0 MH, 1 MR, 2 MMR, 3 JBIG

    CString GetName() const { return name; }

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CDialingData;
        using namespace fields;
        visit("faxNumber", &C::faxNumber, Any());
        visit("secondNumber", &C::secondNumber, Any());
        visit("name", &C::name, Text(20));
        visit("dialLine", &C::dialLine, Choice(2));
        visit("maxSpeed", &C::maxSpeed, Choice(4));
        visit("printConfirmation", &C::printConfirmation, Flag());
        visit("monitorTone", &C::monitorTone, Flag());
        visit("delayedDial", &C::delayedDial, Flag());
        visit("delayHour", &C::delayHour, Number(0, 23));
        visit("delayMinute", &C::delayMinute, Number(0, 59));
        visit("ituMailbox", &C::ituMailbox, Flag());
        visit("subAddress", &C::subAddress, Text(20));
        visit("pollingSubAddress", &C::pollingSubAddress, Text(20));
        visit("mailboxPassword", &C::mailboxPassword, Text(20));
        visit("emailAddress", &C::emailAddress, Text(256));
        visit("resolution", &C::resolution, Choice(5));
        visit("compression", &C::compression, Choice(4));
    }
};

// Speed dial 1 to 999, with dialing data of its own.
class CSpeedDial : public CIdObject {
    DECLARE_SERIAL(CSpeedDial)
public:
    static const int& max_count;   // capacities.h
    static constexpr int digits = 3;

    explicit CSpeedDial(int number = 0) : CIdObject(number) {}

    CDialingData* GetDialingData() { return &dialingData; }
    const CDialingData* GetDialingData() const { return &dialingData; }
    CString GetName() const { return dialingData.name; }
    // Number, name, fax number (its billing code masked).
    void GetText(CStringArray& texts) const override;

private:
    CDialingData dialingData;
};

class CGroupDial;

// One-touch key 1 to max_count. It stands for a speed dial or a group dial of the same
// phone book, or dials its own record made by CPhoneBook::NewDialingData ("individual").
class COneTouch : public CIdObject {
    DECLARE_SERIAL(COneTouch)
public:
    static const int& max_count;   // capacities.h: the device's number of keys, and its highest key
    static constexpr int digits = 2;

    explicit COneTouch(int number = 0, CObject* ref = nullptr) : CIdObject(number), ref(ref) {}

    // A CSpeedDial, a CGroupDial, a CDialingData, or nullptr while the key is not set up.
    CObject* GetRef() const { return ref; }
    void SetRef(CObject* newRef) { ref = newRef; }
    // The key's own dialing record, nullptr when it stands for another entry.
    CDialingData* GetDialingData() const { return DYNAMIC_DOWNCAST(CDialingData, ref); }
    // The name of what the key dials.
    CString GetName() const;
    // Number, type ("Individuel", "Composition abrégée", "Composition de groupe"), name,
    // destination (the fax number, or the number of the speed dial or group).
    void GetText(CStringArray& texts) const override;

private:
    CObject* ref;
};

// Group dial 1 to 1999: a name and member speed dials and individual one-touch keys.
class CGroupDial : public CIdObject {
    DECLARE_SERIAL(CGroupDial)
public:
    static const int& max_count;   // capacities.h
    static constexpr int digits = 4;

    explicit CGroupDial(int number = 0, const CString& name = CString()) : CIdObject(number), name(name) {}

    CString GetName() const { return name; }
    // Number, name.
    void GetText(CStringArray& texts) const override;

    CString name;
    CObList members;               // CSpeedDial* and COneTouch* of the same phone book; not owned

    // The group's own fields (fields.h); its members are checked as references.
    template <class Visit>
    static void Fields(Visit&& visit)
    {
        visit("name", &CGroupDial::name, fields::Text(20));
    }
};

class CPhoneBook : public CObject {
    DECLARE_SERIAL(CPhoneBook)
public:
    CPhoneBook() = default;
    CPhoneBook(const CPhoneBook&) = delete;
    CPhoneBook& operator=(const CPhoneBook&) = delete;
    ~CPhoneBook() override;

    // The entries, each list in ascending number order. Change them only through Add and
    // Delete: the phone book owns every entry in them.
    CObList& GetSpeedDials() { return speedDials; }
    CObList& GetOneTouches() { return oneTouches; }
    CObList& GetGroupDials() { return groupDials; }
    const CObList& GetSpeedDials() const { return speedDials; }
    const CObList& GetOneTouches() const { return oneTouches; }
    const CObList& GetGroupDials() const { return groupDials; }

    // The entry with that number, nullptr when there is none.
    CSpeedDial* GetSpeedDial(int number) const;
    COneTouch* GetOneTouch(int number) const;
    CGroupDial* GetGroupDial(int number) const;
    int GetCount(int kind) const;

    // Takes the entry into the phone book, or puts an entry already held back in number order
    // after its number changed. 0, and the entry stays the caller's, when another entry holds
    // its number, the number lies outside the kind's range, or the kind is at its capacity.
    BOOL Add(CSpeedDial* entry);
    BOOL Add(COneTouch* entry);
    BOOL Add(CGroupDial* entry);

    // Destroy an entry held by the phone book (others are left alone), keeping the references
    // of the other entries sound (see above). A one-touch key takes its own record along.
    void Delete(CSpeedDial* entry);
    void Delete(COneTouch* entry);
    void Delete(CGroupDial* entry);
    // Destroys a dialing record made by NewDialingData; keys that used it are left without
    // a reference until they get a new one.
    void Delete(CDialingData* record);
    // Destroys every entry of the kind (4: the whole directory).
    void DeleteContents(int kind);

    // A dialing record owned by the phone book, for a one-touch key of its own.
    CDialingData* NewDialingData();
    // Takes the entry out of every group's members: a key that stopped dialing its own record
    // no longer belongs in any group.
    void RemoveFromGroups(CObject* member);

    // For the number text of an entry as lists show it ("05" one-touch key, "005" speed dial,
    // "0005" group): returns 1 for a speed dial, 2 for a one-touch key, 3 for a group, and
    // puts the entry's name into `name` (empty when no entry has that number).
    int GetName(const CString& number, CString& name) const;
    // Whether an entry has that number text; of that kind (1, 2, 3), or of any kind for 0.
    BOOL Holds(const CString& number, int kind) const;

    // Called once entries have left the directory (deleted, or the whole directory replaced),
    // so that whoever names entries by number can let go of those that are gone.
    std::function<void()> afterRemoval;
    // The entry such a number text names, nullptr when there is none; `kind` as GetName
    // returns it.
    const CIdObject* Find(const CString& number, int& kind) const;
    // The kind (as GetName returns it) and the number that a number text names; false when
    // the text is no number.
    static bool ParseNumber(const CString& number, int& kind, int& n);

    // The directory's serialised form, with a magic of its own (phone-book files hold exactly
    // this). Loading replaces the whole directory only once all of it was read.
    void Serialize(CArchive& ar) override;

    // Takes over every entry of `other`, whose directory is empty afterwards; this
    // directory's own entries are destroyed.
    void TakeContents(CPhoneBook& other);

private:
    void AfterRemoval() const;
    // DeleteContents without telling afterRemoval.
    void DestroyContents(int kind);
    // Unlinks and destroys the entries, with the keys standing for any of them.
    void Destroy(std::unordered_set<CObject*> doomed);
    void Store(CArchive& ar) const;
    void Load(CArchive& ar);

    CObList speedDials;
    CObList oneTouches;
    CObList groupDials;
    CObList dialingRecords;        // the records made by NewDialingData
};

// Many entries added at once, as loading a directory and importing contacts do: entries are
// found by number through tables made once, and each list takes its new entries in one merge
// when the batch ends, where Add would walk the list for every entry.
//
// While the batch lasts the new entries are the phone book's (they go into its lists when the
// batch ends, an exception included) but not yet in its lists: find them through the batch,
// and destroy no entry of the phone book meanwhile.
class CPhoneBookBatch {
public:
    explicit CPhoneBookBatch(CPhoneBook& book);
    ~CPhoneBookBatch();
    CPhoneBookBatch(const CPhoneBookBatch&) = delete;
    CPhoneBookBatch& operator=(const CPhoneBookBatch&) = delete;

    // The entry with that number, held or added in this batch; nullptr when there is none.
    CSpeedDial* GetSpeedDial(int number) const;
    COneTouch* GetOneTouch(int number) const;
    CGroupDial* GetGroupDial(int number) const;
    int GetCount(int kind) const;

    // As CPhoneBook::Add for an entry the phone book does not hold yet.
    BOOL Add(CSpeedDial* entry);
    BOOL Add(COneTouch* entry);
    BOOL Add(CGroupDial* entry);

private:
    struct Kind {
        Kind(CObList& list, int highest);
        CIdObject* Find(int number) const;
        BOOL Add(CIdObject* entry, int capacity);
        void Merge();

        CObList& list;
        int highest;
        std::vector<CIdObject*> byNumber;
        std::vector<CIdObject*> added;
    };

    Kind speedDials;
    Kind oneTouches;
    Kind groupDials;
};
