// The check of a record before it goes to a device: a record the device takes passes, and each
// value the device would refuse gives its one finding; the console's wording of findings names
// the page and the field.
#include "device/lib/recordcheck.h"
#include "recordwording/recordwording.h"

#include "records.h"

#include "../../tools/fuzz/recordcheckfuzzing.h"

#include <QRandomGenerator>
#include <functional>

namespace {

// A record that uses every kind of entry and reference, its numbers at the edges of their ranges.
void FillCleanRecord(CConfig& record)
{
    CPhoneBook& book = record.phoneBook;
    auto* speedDial = new CSpeedDial(999);
    speedDial->GetDialingData()->name = "Siège";
    speedDial->GetDialingData()->maxSpeed = 3;
    speedDial->GetDialingData()->delayHour = 23;
    speedDial->GetDialingData()->delayMinute = 59;
    ASSERT_TRUE(book.Add(speedDial));
    auto* own = new COneTouch(1, book.NewDialingData());
    own->GetDialingData()->compression = 3;
    ASSERT_TRUE(book.Add(own));
    ASSERT_TRUE(book.Add(new COneTouch(2, speedDial)));
    auto* group = new CGroupDial(1999, "Agences");
    group->members.AddTail(speedDial);
    group->members.AddTail(own);
    ASSERT_TRUE(book.Add(group));
    ASSERT_TRUE(book.Add(new COneTouch(COneTouch::max_count, group)));

    CStringArray destinations;
    destinations.Add("01");
    destinations.Add("999");
    destinations.Add("1999");
    ASSERT_TRUE(record.mailBoxes.Add(new CMailBox("123", "", 2, &destinations, 4, "1999")));
    ASSERT_TRUE(record.mailBoxes.Add(new CMailBox("7", "secret", 0, nullptr, 3, "38")));
    ASSERT_TRUE(record.clientCodes.Add(new CDepartmentCode(1, 99999, "Principal")));
    ASSERT_TRUE(record.clientCodes.Add(new CDepartmentCode(99, 0, "Compta")));

    record.phoneLine.answerMode = 2;
    record.phoneLine.ringsBeforeAnswer = 15;
    record.phoneLine.tadTimer = 99;
    record.advanced.autoSupplyOrder = 1;
    record.advanced.orderDestinationType = 3;
    record.advanced.orderDestination = "38";
    record.advanced.tonerQuantity = 99;
    record.faxSend.redialAttempts = 14;
    record.faxReceive.secureReceive = 1;
    record.faxReceive.secureReceivePassword = "0042";
    record.tcpIp.broadcastInterval = 180;
    record.email.popCheckInterval = 9;
    record.mailOptions.confirmationTimer = 5;
}

CSpeedDial& FirstSpeedDial(CConfig& record)
{
    return *static_cast<CSpeedDial*>(record.phoneBook.GetSpeedDials().GetHead());
}

CMailBox& Relay(CConfig& record)
{
    return *record.mailBoxes.Get("123");
}

struct BadRecord {
    const char* name;
    std::function<void(CConfig&)> spoil;
    RecordFinding finding;
};

RecordFinding Finding(const char* section, const char* field, RecordFinding::Problem problem, fields::Rule rule = {},
                      int value = 0, const char* entry = "")
{
    RecordFinding finding;
    finding.section = section;
    finding.field = field;
    finding.entry = entry;
    finding.problem = problem;
    finding.rule = rule;
    finding.value = value;
    return finding;
}

RecordFinding Range(const char* section, const char* field, int low, int high, int value, const char* entry = "")
{
    return Finding(section, field, RecordFinding::outOfRange, fields::Number(low, high), value, entry);
}

RecordFinding Missing(const char* section, const char* field, const char* entry, const char* reference, int kind)
{
    RecordFinding finding = Finding(section, field, RecordFinding::missingEntry, {}, 0, entry);
    finding.reference = reference;
    finding.referenceKind = kind;
    return finding;
}

std::string Describe(const std::vector<RecordFinding>& findings)
{
    std::string text;
    for (const RecordFinding& f : findings)
        text += std::string(f.section) + "." + f.field + " " + Text(f.entry) + " problem " + std::to_string(f.problem)
                + " value " + std::to_string(f.value) + " rule " + std::to_string(f.rule.low) + "-"
                + std::to_string(f.rule.high) + " max " + std::to_string(f.rule.maxLength) + " ref " + Text(f.reference)
                + " index " + std::to_string(f.index) + "\n";
    return text;
}

TEST(RecordCheckTest, ACleanRecordPasses)
{
    for (bool filled : {false, true}) {
        SCOPED_TRACE(filled ? "every kind of entry" : "factory values");
        CConfig record;
        if (filled)
            FillCleanRecord(record);
        const std::vector<RecordFinding> findings = CheckRecord(record);
        EXPECT_TRUE(findings.empty()) << Describe(findings);
    }
}

// Each value the device would refuse, with its one finding: where it is, what is wrong, and
// the rule it breaks.
std::vector<BadRecord> BadRecords()
{
    const QString longText(300, QLatin1Char('x'));
    return {
        {"rings kept after the mode went back to 1-10", [](CConfig& r) { r.phoneLine.answerMode = 0; },
         Range("phoneLine", "ringsBeforeAnswer", 1, 10, 15)},
        {"rings above 15 in tel/fax mode", [](CConfig& r) { r.phoneLine.ringsBeforeAnswer = 16; },
         Range("phoneLine", "ringsBeforeAnswer", 1, 15, 16)},
        {"a list index past its items", [](CConfig& r) { r.machine.ringerVolume = 8; },
         Range("machine", "ringerVolume", 0, 7, 8)},
        {"a number field below its range", [](CConfig& r) { r.machine.superSaverMinutes = 0; },
         Range("machine", "superSaverMinutes", 1, 60, 0)},
        {"a check box neither on nor off", [](CConfig& r) { r.faxSend.secureSend = 2; },
         Range("faxSend", "secureSend", 0, 1, 2)},
        {"one day of an array field", [](CConfig& r) { r.faxReceive.secureAllDay[3] = -1; },
         [] { RecordFinding f = Range("faxReceive", "secureAllDay", 0, 1, -1); f.index = 3; return f; }()},
        {"a text longer than its field", [longText](CConfig& r) { r.machine.companyName = longText; },
         Finding("machine", "companyName", RecordFinding::tooLong, fields::Text(40))},
        {"secure reception without its four digits", [](CConfig& r) { r.faxReceive.secureReceivePassword = "12a4"; },
         Finding("faxReceive", "secureReceivePassword", RecordFinding::wrongCharacters, fields::Text(4, fields::Chars::digits, 4))},
        {"secure reception with five digits", [](CConfig& r) { r.faxReceive.secureReceivePassword = "12345"; },
         Finding("faxReceive", "secureReceivePassword", RecordFinding::wrongCharacters, fields::Text(4, fields::Chars::digits, 4))},
        {"a digits-only field with a letter", [](CConfig& r) { r.advanced.contactPhone = "01 40"; },
         Finding("advanced", "contactPhone", RecordFinding::wrongCharacters, fields::Text(32, fields::Chars::digits))},
        {"a panel's field", [](CConfig& r) { r.pcFax.pcReceiveAttempts = 16; },
         Range("pcFax", "pcReceiveAttempts", 0, 15, 16)},
        {"a network page's field", [](CConfig& r) { r.tcpIp.disconnectAfter = 181; },
         Range("tcpIp", "disconnectAfter", 1, 180, 181)},
        {"a mail option", [](CConfig& r) { r.mailOptions.confirmationTimer = 6; },
         Range("mailOptions", "confirmationTimer", 0, 5, 6)},
        {"the supplies order's one-touch key gone", [](CConfig& r) { r.advanced.orderDestination = "37"; },
         Missing("advanced", "orderDestination", "", "37", 2)},
        {"the supplies order's speed dial gone",
         [](CConfig& r) {
             r.advanced.orderDestinationType = 2;
             r.advanced.orderDestination = "005";
         },
         Missing("advanced", "orderDestination", "", "005", 1)},
        {"the supplies order's address too long",
         [longText](CConfig& r) {
             r.advanced.orderDestinationType = 1;
             r.advanced.orderDestination = longText;
         },
         Finding("advanced", "orderDestination", RecordFinding::tooLong, fields::Text(256))},
        {"a relay destination gone", [](CConfig& r) { Relay(r).destinations.Add("004"); },
         Missing("mailBoxes", "destinations", "123", "004", 0)},
        {"a relay without destinations", [](CConfig& r) { Relay(r).destinations.RemoveAll(); },
         Finding("mailBoxes", "destinations", RecordFinding::noDestinations, {}, 0, "123")},
        {"a report destination gone", [](CConfig& r) { Relay(r).reportDest = "0005"; },
         Missing("mailBoxes", "reportDest", "123", "0005", 3)},
        {"a mailbox type past the list", [](CConfig& r) { Relay(r).type = 3; },
         Range("mailBoxes", "type", 0, 2, 3, "123")},
        {"a mailbox number that is not digits", [](CConfig& r) { Relay(r).number = "12a"; },
         Finding("mailBoxes", "number", RecordFinding::wrongCharacters, fields::Text(20, fields::Chars::digits, 1), 0, "12a")},
        {"a dialing record's field", [](CConfig& r) { FirstSpeedDial(r).GetDialingData()->maxSpeed = 4; },
         Range("speedDials", "maxSpeed", 0, 3, 4, "999")},
        {"a key's own record", [longText](CConfig& r) { r.phoneBook.GetOneTouch(1)->GetDialingData()->name = longText; },
         Finding("oneTouches", "name", RecordFinding::tooLong, fields::Text(20), 0, "01")},
        {"a key that dials nothing",
         [](CConfig& r) { ASSERT_TRUE(r.phoneBook.Add(new COneTouch(5))); },
         Finding("oneTouches", "target", RecordFinding::dialsNothing, {}, 0, "05")},
        {"a group without members",
         [](CConfig& r) { ASSERT_TRUE(r.phoneBook.Add(new CGroupDial(7, "Vide"))); },
         Finding("groupDials", "members", RecordFinding::noMembers, {}, 0, "0007")},
        {"a group member that is not an individual key",
         [](CConfig& r) { r.phoneBook.GetGroupDial(1999)->members.AddTail(r.phoneBook.GetOneTouch(2)); },
         Missing("groupDials", "members", "1999", "02", 2)},
        {"a client name too long", [longText](CConfig& r) { r.clientCodes.Get(99)->name = longText; },
         Finding("clientCodes", "name", RecordFinding::tooLong, fields::Text(20), 0, "99")},
        {"a client code past its range", [](CConfig& r) { r.clientCodes.Get(99)->code = 100000; },
         Range("clientCodes", "code", 0, 99999, 100000, "99")},
    };
}

TEST(RecordCheckTest, EachValueTheDeviceRefusesGivesItsFinding)
{
    for (const BadRecord& row : BadRecords()) {
        SCOPED_TRACE(row.name);
        CConfig record;
        FillCleanRecord(record);
        row.spoil(record);
        const std::vector<RecordFinding> findings = CheckRecord(record);
        ASSERT_EQ(findings.size(), 1u) << Describe(findings);
        EXPECT_TRUE(findings[0] == row.finding) << Describe(findings) << "expected:\n" << Describe({row.finding});
    }
}

// The device checks what it is sent where it lies in the bytes: the same findings as the
// decoded record's, over the table of bad records, and the same refusal of every stream that
// does not decode, cut anywhere or with bytes changed anywhere.
TEST(RecordCheckTest, TheCheckInPlaceFindsWhatTheDecodedCheckFinds)
{
    std::vector<QByteArray> records;
    CConfig clean;
    FillCleanRecord(clean);
    records.push_back(Save(clean));
    for (const BadRecord& row : BadRecords()) {
        SCOPED_TRACE(row.name);
        CConfig record;
        FillCleanRecord(record);
        row.spoil(record);
        records.push_back(Save(record));
        EXPECT_EQ(InPlaceCheckDisagreement(records.back()), "");
        CConfig sections;
        qsizetype restAt = 0;
        std::vector<RecordFinding> findings;
        try {
            findings = CheckRecordBytes(records.back(), "mailBoxes", sections, restAt);
        } catch (const CArchiveException&) {
            // The value breaks a rule of the stream's form too (a client code out of its range):
            // refused whole, as decoding refuses it.
            continue;
        }
        ASSERT_EQ(findings.size(), 1u) << Describe(findings);
        EXPECT_TRUE(findings[0] == row.finding) << Describe(findings);
    }
    CConfig full;
    FillFullRecord(full);
    records.push_back(Save(full));

    QRandomGenerator random(24);
    int refused = 0;
    int decoded = 0;
    for (const QByteArray& record : records) {
        const std::string disagreement = InPlaceCheckDisagreement(record);
        ASSERT_EQ(disagreement, "") << "whole record of " << record.size() << " bytes";
        for (int cut = 0; cut < 64; ++cut) {
            const qsizetype at = cut < 32 ? cut * record.size() / 32 : random.bounded(record.size());
            ASSERT_EQ(InPlaceCheckDisagreement(record.left(at)), "") << "cut at " << at;
        }
        for (int n = 0; n < 200; ++n) {
            QByteArray changed = record;
            for (int flips = 1 + random.bounded(3); flips > 0; --flips)
                changed[random.bounded(changed.size())] = char(random.bounded(256));
            ASSERT_EQ(InPlaceCheckDisagreement(changed), "") << "changed record " << n;
            try {
                CConfig record;
                Load(record, changed);
                ++decoded;
            } catch (const CArchiveException&) {
                ++refused;
            }
        }
    }
    // The changed records exercised both sides: some decode, some are refused.
    EXPECT_GT(refused, 0);
    EXPECT_GT(decoded, 0);
}

TEST(RecordCheckTest, EveryFindingOfARecordIsListedInSectionOrder)
{
    CConfig record;
    record.machine.contrast = -1;
    record.faxSend.redialInterval = 0;
    record.snmp.trapMemoryFull = 5;
    const std::vector<RecordFinding> findings = CheckRecord(record);
    ASSERT_EQ(findings.size(), 3u) << Describe(findings);
    EXPECT_TRUE(findings[0] == Range("machine", "contrast", 0, 2, -1));
    EXPECT_TRUE(findings[1] == Range("faxSend", "redialInterval", 1, 15, 0));
    EXPECT_TRUE(findings[2] == Range("snmp", "trapMemoryFull", 0, 1, 5));
}

// The console's line for each kind of finding, and for each place whose page or label is
// found in its own way.
TEST(RecordWordingTest, EachKindOfFindingReadsAsTheConsoleShowsIt)
{
    RecordFinding day = Range("faxReceive", "secureAllDay", 0, 1, 2);
    day.index = 1;
    const std::pair<RecordFinding, const char*> cases[] = {
        {Range("phoneLine", "ringsBeforeAnswer", 1, 10, 12),
         "Lignes téléphonique : Sonnerie(s) avant réponse (1-10) : 12 n'est pas compris entre 1 et 10."},
        {Range("phoneLine", "ringsBeforeAnswer", 1, 15, 16),
         "Lignes téléphonique : Sonnerie(s) avant réponse (1-15) : 16 n'est pas compris entre 1 et 15."},
        {day, "Réception télécopie : Lun : 2 n'est pas compris entre 0 et 1."},
        {Finding("machine", "companyName", RecordFinding::tooLong, fields::Text(40)),
         "Paramètres machine : Nom société : plus de 40 caractères."},
        {Finding("faxReceive", "secureReceivePassword", RecordFinding::wrongCharacters, fields::Text(4, fields::Chars::digits, 4)),
         "Réception télécopie : Entrer le mot de passe à 4 chiffres pour les télécopies protégées : il faut 4 chiffres."},
        {Finding("mailBoxes", "number", RecordFinding::wrongCharacters, fields::Text(20, fields::Chars::digits, 1), 0, "12a"),
         "Boîte aux lettres 12a : Numéro : le numéro n'est pas fait de chiffres."},
        {Range("pcFax", "pcReceiveAttempts", 0, 15, 16),
         "Télécopie PC : Tentatives de réception au PC (0-15) : 16 n'est pas compris entre 0 et 15."},
        {Missing("advanced", "orderDestination", "", "37", 2),
         "Fonctions avancées : Comp. instantanée : l'entrée 37 n'est pas dans l'annuaire."},
        {Missing("advanced", "orderDestination", "", "005", 1),
         "Fonctions avancées : Comp. abrégée : l'entrée 005 n'est pas dans l'annuaire."},
        {Missing("mailBoxes", "reportDest", "123", "0005", 3),
         "Boîte aux lettres 123 : Comp. groupe : l'entrée 0005 n'est pas dans l'annuaire."},
        {Finding("mailBoxes", "destinations", RecordFinding::noDestinations, {}, 0, "123"),
         "Boîte aux lettres 123 : Destinations : le relais n'a aucune destination."},
        {Range("speedDials", "maxSpeed", 0, 3, 4, "999"),
         "Composition abrégée 999 : Vitesse maximum du télécopieur : 4 n'est pas compris entre 0 et 3."},
        {Finding("oneTouches", "target", RecordFinding::dialsNothing, {}, 0, "05"),
         "Composition instantanée 05 : Ajouter entrée de type : la touche ne compose rien."},
        {Finding("groupDials", "members", RecordFinding::noMembers, {}, 0, "0007"),
         "Composition de groupe 0007 : Membres du groupe : le groupe n'a aucun membre."},
        {Finding("clientCodes", "name", RecordFinding::tooLong, fields::Text(20), 0, "99"),
         "Code client 99 : Nom : plus de 20 caractères."},
    };
    for (const auto& [finding, line] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(Text(WordFinding(finding)), line);
    }
}

// Whatever the device would refuse, the line says on which page and in which field.
TEST(RecordWordingTest, EveryFindingNamesItsPageAndField)
{
    CConfig record;
    FillFullRecord(record);
    const CStringArray findings = WordFindings(CheckRecord(record));
    ASSERT_GT(findings.GetSize(), 0);
    for (int index = 0; index < findings.GetSize(); ++index) {
        const QStringList parts = static_cast<const QString&>(findings[index]).split(" : ");
        ASSERT_GE(parts.size(), 3) << Text(findings[index]);
        EXPECT_FALSE(parts[0].trimmed().isEmpty()) << Text(findings[index]);
        EXPECT_FALSE(parts[1].trimmed().isEmpty()) << Text(findings[index]);
    }
}

} // namespace
