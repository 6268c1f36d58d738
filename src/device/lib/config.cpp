#include "device/lib/config.h"

#include "device/lib/serialformat.h"

#include <memory>

IMPLEMENT_SERIAL(CConfig, CObject, 1)

namespace {

constexpr DWORD configMagic = 0x434D5354;   // "TSMC"
// The layout of the record's serialised form. Settings files of every schema ever written keep
// loading (tests/device/golden holds one of each): a change of layout raises the number, and
// Serialize reads each older layout by the schema that ExpectHeader returns.
constexpr DWORD configSchema = 1;

// Moving a loaded section into the record: the containers hand over their entries, the
// plain sections are copied.
void Assign(CDepartmentCodes& section, CDepartmentCodes& loaded) { section.TakeContents(loaded); }
void Assign(CMailBoxes& section, CMailBoxes& loaded) { section.TakeContents(loaded); }
void Assign(CPhoneBook& section, CPhoneBook& loaded) { section.TakeContents(loaded); }
template <class Section>
void Assign(Section& section, Section& loaded)
{
    section = loaded;
}

void Reset(CDepartmentCodes& section) { section.DeleteContents(); }
void Reset(CMailBoxes& section) { section.DeleteContents(); }
void Reset(CPhoneBook& section) { section.DeleteContents(4); }
template <class Section>
void Reset(Section& section)
{
    section = Section();
}

} // namespace

void CConfig::DeleteContents()
{
    Sections([this](const char*, auto section) { Reset(this->*section); });
}

void CConfig::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        serialformat::WriteHeader(ar, configMagic, configSchema);
        Sections([&](const char*, auto section) { (this->*section).Serialize(ar); });
        return;
    }
    serialformat::ExpectHeader(ar, configMagic, configSchema);
    auto loaded = std::make_unique<CConfig>();
    Sections([&](const char*, auto section) { (loaded.get()->*section).Serialize(ar); });
    Sections([&](const char*, auto section) { Assign(this->*section, loaded.get()->*section); });
}
