// What an apply would change: the differences between two records as data and as the
// console's lines, passwords never shown.
#include "records.h"

#include "device/lib/recorddiff.h"
#include "recordwording/recordwording.h"

#include <functional>

namespace {

QStringList Lines(const CConfig& before, const CConfig& after)
{
    QStringList lines;
    const CStringArray worded = WordDifferences(DiffRecords(before, after));
    for (INT_PTR i = 0; i < worded.GetSize(); ++i)
        lines << static_cast<const QString&>(worded[i]);
    return lines;
}

// A directory with a speed dial, a key standing for it, a group of both and a mailbox.
void FillDirectory(CConfig& config)
{
    auto* speedDial = new CSpeedDial(5);
    speedDial->GetDialingData()->name = "Dupont";
    config.phoneBook.Add(speedDial);
    auto* key = new COneTouch(1, speedDial);
    config.phoneBook.Add(key);
    auto* own = new COneTouch(2, config.phoneBook.NewDialingData());
    own->GetDialingData()->name = "Accueil";
    config.phoneBook.Add(own);
    auto* group = new CGroupDial(3, "Tous");
    group->members.AddTail(speedDial);
    config.phoneBook.Add(group);
    config.mailBoxes.Add(new CMailBox("20", "secret"));
    config.clientCodes.Add(new CDepartmentCode(2, 123, "Compta"));
}

TEST(RecordDiff, EachDifferenceOnALineOfItsPageAndField)
{
    struct Case {
        const char* name;
        std::function<void(CConfig&)> change;
        QStringList lines;
    };
    const Case cases[] = {
        {"the same record", [](CConfig&) {}, {}},
        {"plain fields",
         [](CConfig& r) {
             r.machine.ringerVolume = 6;
             r.machine.companyName = "Siège";
             r.faxReceive.secureAllDay[2] = 1;
             r.tcpIp.ipAddress[3] = 9;
             r.phoneLine.line2ReceiveWindow = CInterval(21 * 60, 7 * 60 + 30);
         },
         {"Paramètres machine : Nom société : «  » → « Siège »", "Paramètres machine : Sonnerie : 4 → 6",
          "Lignes téléphonique : line2ReceiveWindow : 20:00–08:00 → 21:00–07:30", "Réception télécopie : Mar : 0 → 1",
          "TCP/IP : ipAddress : 0.0.0.0 → 0.0.0.9"}},
        {"passwords and communities, never shown",
         [](CConfig& r) {
             r.ftp.ftpPassword = "nouveau";
             r.advanced.remoteAccessPassword = "1234";
             r.snmp.readCommunity = "interne";
             r.mailBoxes.Get("20")->password = "autre";
             r.phoneBook.GetOneTouch(2)->GetDialingData()->mailboxPassword = "9";
         },
         {"Fonctions avancées : Mot de passe accès distant : modifié", "Boîte aux lettres 20 : Mot de passe (optionnel) : modifié",
          "Composition instantanée 02 : Mot de passe (optionnel) : modifié", "Connexion FTP : Mot de passe : modifié",
          "SNMP : Lire nom communauté : modifié"}},
        {"entries added, removed and changed by number",
         [](CConfig& r) {
             r.phoneBook.Delete(r.phoneBook.GetOneTouch(2));
             auto* added = new CSpeedDial(7);
             added->GetDialingData()->name = "Martin";
             r.phoneBook.Add(added);
             r.phoneBook.GetGroupDial(3)->members.AddTail(added);
             r.phoneBook.GetOneTouch(1)->SetRef(r.phoneBook.GetGroupDial(3));
             r.phoneBook.GetSpeedDial(5)->GetDialingData()->maxSpeed = 2;
             r.mailBoxes.Add(new CMailBox("3"));
             r.clientCodes.Delete(r.clientCodes.Get(2));
         },
         {"Code client 02 : supprimé « Compta »", "Boîte aux lettres 3 : ajoutée",
          "Composition abrégée 005 : Vitesse maximum du télécopieur : 0 → 2", "Composition abrégée 007 : ajoutée « Martin »",
          "Composition instantanée 01 : Ajouter entrée de type : composition abrégée 005 → composition de groupe 0003",
          "Composition instantanée 02 : supprimée « Accueil »",
          "Composition de groupe 0003 : Membres du groupe : 005 → 005, 007"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CConfig before;
        FillDirectory(before);
        CConfig after;
        FillDirectory(after);
        c.change(after);
        EXPECT_EQ(c.lines.join('\n').toStdString(), Lines(before, after).join('\n').toStdString());
        // The other way round the same places differ, added and removed swapped.
        const auto forward = DiffRecords(before, after);
        const auto backward = DiffRecords(after, before);
        ASSERT_EQ(forward.size(), backward.size());
    }
}

// A mailbox that holds documents stays as it is on the device: what the record changes of it
// is said to be kept, once.
TEST(RecordDiff, AMailboxHoldingDocumentsIsKept)
{
    CConfig before;
    FillDirectory(before);
    before.mailBoxes.Add(new CMailBox("30"));
    CStringArray busy;
    busy.Add("20");
    busy.Add("30");
    before.mailBoxes.SetBusyNumbers(busy);
    CConfig after;
    FillDirectory(after);
    after.mailBoxes.Get("20")->type = 1;
    after.mailBoxes.Get("20")->password = "autre";
    EXPECT_EQ(QStringList({"Boîte aux lettres 20 : non modifiée (elle contient des documents)",
                           "Boîte aux lettres 30 : non modifiée (elle contient des documents)"}),
              Lines(before, after));
}

// The device's own report is not sent, so it is no difference.
TEST(RecordDiff, TheDevicesOwnReportIsNoDifference)
{
    CConfig before;
    CConfig after;
    after.machineInfo.scanCount = 40;
    after.machineInfo.firmwareVersion = "2.20";
    EXPECT_TRUE(DiffRecords(before, after).empty());
}

} // namespace
