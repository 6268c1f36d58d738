// Records as JSON text: what dump writes reads back to the same bytes, and every text that is
// no record is refused naming its place in the text.
#include "records.h"

#include "device/lib/filestore.h"
#include "device/lib/recordjson.h"
#include "device/lib/serialformat.h"
#include "recordwording/recordwording.h"

#include <QDir>
#include <QJsonDocument>

#include <functional>

namespace {

QByteArray JsonOf(const CConfig& config)
{
    return QJsonDocument(RecordToJson(config)).toJson(QJsonDocument::Indented);
}

// What load reports for the text: its error, else each finding as "path : problème", one a line.
QString LoadReport(const QByteArray& text)
{
    CConfig config;
    RecordJsonReader reader;
    if (!reader.Read(text, config))
        return reader.error;
    QStringList lines;
    for (const auto& [path, finding] : reader.refused)
        lines << path + " : " + static_cast<const QString&>(WordProblem(finding));
    for (const RecordFinding& finding : CheckRecord(config))
        lines << reader.PathOf(finding) + " : " + static_cast<const QString&>(WordProblem(finding));
    return lines.join('\n');
}

// Records filled by the tests' helpers, and the settings files kept with the tests that load
// (the corpus holds damaged ones too).
std::vector<std::pair<QString, std::function<void(CConfig&)>>> Records()
{
    std::vector<std::pair<QString, std::function<void(CConfig&)>>> records = {
        {"factory", [](CConfig&) {}},
        {"small", FillSmallRecord},
        {"full", FillFullRecord},
    };
    QStringList files{TestFilePath("golden/settings-1.tms")};
    for (const QString& name : QDir(TestFilePath("corpus/config")).entryList({"*.tms"}, QDir::Files))
        files << TestFilePath("corpus/config/" + name);
    for (const QString& file : files) {
        QByteArray bytes;
        CString reason;
        EXPECT_TRUE(ReadFileWhole(file, serialformat::maxFileBytes, bytes, reason)) << Text(reason);
        try {
            CConfig config;
            Load(config, bytes);
        } catch (const CException&) {
            continue;
        }
        records.emplace_back(file, [bytes](CConfig& config) { Load(config, bytes); });
    }
    return records;
}

TEST(RecordJson, DumpThenLoadGivesBackTheSameBytes)
{
    for (const auto& [name, fill] : Records()) {
        SCOPED_TRACE(name.toStdString());
        CConfig config;
        fill(config);
        // Load takes only what the device would: the records are brought within the rules.
        KeepWithinRules(config);
        for (POSITION at = config.mailBoxes.GetHeadPosition(); at != nullptr;) {
            auto* box = static_cast<CMailBox*>(config.mailBoxes.GetNext(at));
            if (box->destinations.IsEmpty())
                box->type = 0;   // a relay left without destinations
        }
        const CStringArray findings = WordFindings(CheckRecord(config));
        ASSERT_EQ(0, findings.GetSize()) << Text(findings[0]);
        const QByteArray bytes = Save(config);

        CConfig loaded;
        RecordJsonReader reader;
        ASSERT_TRUE(reader.Read(JsonOf(config), loaded)) << reader.error.toStdString();
        EXPECT_TRUE(reader.refused.empty());
        EXPECT_TRUE(CheckRecord(loaded).empty());
        EXPECT_EQ(bytes, Save(loaded));
    }
}

// A section or field left out keeps its factory value; the entries' own numbers are needed.
TEST(RecordJson, WhatIsLeftOutKeepsItsFactoryValue)
{
    CConfig loaded;
    RecordJsonReader reader;
    ASSERT_TRUE(reader.Read(R"({"machine": {"companyName": "Siège"}, "phoneBook": {"speedDials": [{"number": 7}]}})", loaded))
        << reader.error.toStdString();
    CConfig expected;
    expected.machine.companyName = "Siège";
    expected.phoneBook.Add(new CSpeedDial(7));
    EXPECT_EQ(Save(expected), Save(loaded));
}

TEST(RecordJson, ATextThatIsNoRecordNamesItsPath)
{
    struct Case {
        const char* name;
        const char* text;
        const char* report;
    };
    const Case cases[] = {
        {"not JSON", "{\"machine\": ", "le texte n'est pas du JSON valide (octet 12)"},
        {"not an object", "[1, 2]", "le texte n'est pas un objet JSON"},
        {"unknown section", R"({"machin": {}})", "machin : clé inconnue"},
        {"unknown field", R"({"machine": {"ringCount": 3}})", "machine.ringCount : clé inconnue"},
        {"section of the wrong type", R"({"machine": []})", "machine : un objet est attendu"},
        {"text for a number", R"({"machine": {"ringerVolume": "4"}})", "machine.ringerVolume : un nombre entier est attendu"},
        {"fraction for a number", R"({"machine": {"ringerVolume": 4.5}})", "machine.ringerVolume : un nombre entier est attendu"},
        {"number beyond an int", R"({"machineInfo": {"scanCount": 3000000000}})",
         "machineInfo.scanCount : un nombre entier est attendu"},
        {"number for a text", R"({"machine": {"companyName": 12}})", "machine.companyName : un texte est attendu"},
        {"out of range", R"({"machine": {"ringerVolume": 9}})", "machine.ringerVolume : 9 n'est pas compris entre 0 et 7."},
        {"a range that follows another field",
         R"({"phoneLine": {"answerMode": 0, "ringsBeforeAnswer": 15}})",
         "phoneLine.ringsBeforeAnswer : 15 n'est pas compris entre 1 et 10."},
        {"the wider range of that mode", R"({"phoneLine": {"answerMode": 2, "ringsBeforeAnswer": 15}})", ""},
        {"an array's element", R"({"faxReceive": {"secureAllDay": [0, 0, 2, 0, 0, 0, 0]}})",
         "faxReceive.secureAllDay[2] : 2 n'est pas compris entre 0 et 1."},
        {"an array of the wrong length", R"({"faxReceive": {"secureAllDay": [0, 0]}})",
         "faxReceive.secureAllDay : un tableau de 7 valeurs est attendu"},
        {"an address", R"({"tcpIp": {"ipAddress": "10.0.0.256"}})", "tcpIp.ipAddress : une adresse IPv4 (a.b.c.d) est attendue"},
        {"a time of day", R"({"phoneLine": {"line2ReceiveWindow": {"start": "24:00", "stop": "08:00"}}})",
         "phoneLine.line2ReceiveWindow.start : une heure HH:MM est attendue"},
        {"an unknown key in a time window", R"({"phoneLine": {"line2ReceiveWindow": {"start": "20:00", "stop": "08:00", "x": 1}}})",
         "phoneLine.line2ReceiveWindow.x : clé inconnue"},
        {"a speed dial's name too long",
         R"({"phoneBook": {"speedDials": [{"number": 1}, {"number": 5, "dialingData": {"name": "abcdefghijklmnopqrstu"}}]}})",
         "phoneBook.speedDials[1].dialingData.name : plus de 20 caractères."},
        {"a speed dial without its number", R"({"phoneBook": {"speedDials": [{"dialingData": {}}]}})",
         "phoneBook.speedDials[0].number : clé manquante"},
        {"two speed dials of one number", R"({"phoneBook": {"speedDials": [{"number": 5}, {"number": 5}]}})",
         "phoneBook.speedDials[1].number : le numéro 5 est pris, hors des limites, ou l'annuaire est plein"},
        {"a speed dial beyond the directory", R"({"phoneBook": {"speedDials": [{"number": 1000}]}})",
         "phoneBook.speedDials[0].number : le numéro 1000 est pris, hors des limites, ou l'annuaire est plein"},
        {"a key for a speed dial that is not there", R"({"phoneBook": {"oneTouches": [{"number": 1, "speedDial": 4}]}})",
         "phoneBook.oneTouches[0].speedDial : aucune composition abrégée 4 dans l'annuaire"},
        {"a key for a group that is not there", R"({"phoneBook": {"oneTouches": [{"number": 1, "groupDial": 4}]}})",
         "phoneBook.oneTouches[0].groupDial : aucune composition de groupe 4 dans l'annuaire"},
        {"a key that dials two things",
         R"({"phoneBook": {"speedDials": [{"number": 4}], "oneTouches": [{"number": 1, "speedDial": 4, "dialingData": {}}]}})",
         "phoneBook.oneTouches[0] : une touche compose une seule chose : dialingData, speedDial ou groupDial"},
        {"a key that dials nothing", R"({"phoneBook": {"oneTouches": [{"number": 3}]}})",
         "phoneBook.oneTouches[0] : la touche ne compose rien."},
        {"a key's own name too long",
         R"({"phoneBook": {"oneTouches": [{"number": 3, "dialingData": {"name": "abcdefghijklmnopqrstu"}}]}})",
         "phoneBook.oneTouches[0].dialingData.name : plus de 20 caractères."},
        {"a member twice",
         R"({"phoneBook": {"speedDials": [{"number": 4}], "groupDials": [{"number": 1, "members": [{"speedDial": 4}, {"speedDial": 4}]}]}})",
         "phoneBook.groupDials[0].members[1] : ce membre est déjà dans le groupe"},
        {"a member of no kind", R"({"phoneBook": {"groupDials": [{"number": 1, "members": [{}]}]}})",
         "phoneBook.groupDials[0].members[0] : un membre est une composition abrégée (speedDial) ou une touche (oneTouch)"},
        {"a group without members", R"({"phoneBook": {"groupDials": [{"number": 2, "name": "Vide"}]}})",
         "phoneBook.groupDials[0].members : le groupe n'a aucun membre."},
        {"a mailbox number of letters", R"({"mailBoxes": [{"number": "12"}, {"number": "1a"}]})",
         "mailBoxes[1].number : le numéro n'est pas fait de chiffres."},
        {"two mailboxes of one number", R"({"mailBoxes": [{"number": "12"}, {"number": "12"}]})",
         "mailBoxes[1].number : une autre boîte aux lettres porte ce numéro"},
        {"a relay destination that is not there",
         R"({"mailBoxes": [{"number": "12", "type": 2, "destinations": ["005"]}]})",
         "mailBoxes[0].destinations : l'entrée 005 n'est pas dans l'annuaire."},
        {"a client code's ID out of range", R"({"clientCodes": [{"id": 100, "code": 5}]})",
         "clientCodes[0].id : 100 n'est pas compris entre 1 et 99."},
        {"a client code's code out of range", R"({"clientCodes": [{"id": 3, "code": 100000}]})",
         "clientCodes[0].code : 100000 n'est pas compris entre 0 et 99999."},
        {"two client codes of one code", R"({"clientCodes": [{"id": 3, "code": 5}, {"id": 4, "code": 5}]})",
         "clientCodes[1].code : un autre code client porte ce code"},
        {"a client code's name too long", R"({"clientCodes": [{"id": 3, "code": 5}, {"id": 4, "code": 6, "name": "abcdefghijklmnopqrstu"}]})",
         "clientCodes[1].name : plus de 20 caractères."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(QString(c.report).toStdString(), LoadReport(c.text).toStdString());
    }
}

} // namespace
