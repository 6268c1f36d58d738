// The check of a record before it goes to a device: a record the device takes passes, and each
// value the device would refuse gives its one line, naming the page and the field.
#include "device/lib/recordcheck.h"

#include "records.h"

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
    const char* line;
};

TEST(RecordCheckTest, ACleanRecordPasses)
{
    for (bool filled : {false, true}) {
        SCOPED_TRACE(filled ? "every kind of entry" : "factory values");
        CConfig record;
        if (filled)
            FillCleanRecord(record);
        CStringArray findings;
        EXPECT_EQ(CheckRecord(record, findings), 0);
        for (int index = 0; index < findings.GetSize(); ++index)
            ADD_FAILURE() << Text(findings[index]);
    }
}

TEST(RecordCheckTest, EachValueTheDeviceRefusesGivesItsLine)
{
    const QString longText(300, QLatin1Char('x'));
    const std::vector<BadRecord> cases = {
        {"rings kept after the mode went back to 1-10", [](CConfig& r) { r.phoneLine.answerMode = 0; },
         "Lignes téléphonique : Sonnerie(s) avant réponse (1-10) : 15 n'est pas compris entre 1 et 10."},
        {"rings above 15 in tel/fax mode", [](CConfig& r) { r.phoneLine.ringsBeforeAnswer = 16; },
         "Lignes téléphonique : Sonnerie(s) avant réponse (1-15) : 16 n'est pas compris entre 1 et 15."},
        {"a list index past its items", [](CConfig& r) { r.machine.ringerVolume = 8; },
         "Paramètres machine : Sonnerie : 8 n'est pas compris entre 0 et 7."},
        {"a number field below its range", [](CConfig& r) { r.machine.superSaverMinutes = 0; },
         "Paramètres machine : Minutes (1-60) : 0 n'est pas compris entre 1 et 60."},
        {"a check box neither on nor off", [](CConfig& r) { r.faxSend.secureSend = 2; },
         "Envoi télécopie : Activer envoi protégé : 2 n'est pas compris entre 0 et 1."},
        {"a text longer than its field", [longText](CConfig& r) { r.machine.companyName = longText; },
         "Paramètres machine : Nom société : plus de 40 caractères."},
        {"secure reception without its four digits", [](CConfig& r) { r.faxReceive.secureReceivePassword = "12a4"; },
         "Réception télécopie : Entrer le mot de passe à 4 chiffres pour les télécopies protégées : il faut 4 chiffres."},
        {"a panel's field", [](CConfig& r) { r.pcFax.pcReceiveAttempts = 16; },
         "Télécopie PC : Tentatives de réception au PC (0-15) : 16 n'est pas compris entre 0 et 15."},
        {"a network page's field", [](CConfig& r) { r.tcpIp.disconnectAfter = 181; },
         "TCP/IP : Déconnexion après (1-180) : 181 n'est pas compris entre 1 et 180."},
        {"a mail option", [](CConfig& r) { r.mailOptions.confirmationTimer = 6; },
         "Options messagerie : Minuterie confirmation : 6 n'est pas compris entre 0 et 5."},
        {"the supplies order's one-touch key gone", [](CConfig& r) { r.advanced.orderDestination = "37"; },
         "Fonctions avancées : Comp. instantanée : l'entrée 37 n'est pas dans l'annuaire."},
        {"the supplies order's speed dial gone",
         [](CConfig& r) {
             r.advanced.orderDestinationType = 2;
             r.advanced.orderDestination = "005";
         },
         "Fonctions avancées : Comp. abrégée : l'entrée 005 n'est pas dans l'annuaire."},
        {"a relay destination gone", [](CConfig& r) { Relay(r).destinations.Add("004"); },
         "Boîte aux lettres 123 : Destinations : l'entrée 004 n'est pas dans l'annuaire."},
        {"a relay without destinations", [](CConfig& r) { Relay(r).destinations.RemoveAll(); },
         "Boîte aux lettres 123 : Destinations : le relais n'a aucune destination."},
        {"a report destination gone", [](CConfig& r) { Relay(r).reportDest = "0005"; },
         "Boîte aux lettres 123 : Comp. groupe : l'entrée 0005 n'est pas dans l'annuaire."},
        {"a mailbox type past the list", [](CConfig& r) { Relay(r).type = 3; },
         "Boîte aux lettres 123 : Type : 3 n'est pas compris entre 0 et 2."},
        {"a dialing record's field", [](CConfig& r) { FirstSpeedDial(r).GetDialingData()->maxSpeed = 4; },
         "Composition abrégée 999 : Vitesse maximum du télécopieur : 4 n'est pas compris entre 0 et 3."},
        {"a key that dials nothing",
         [](CConfig& r) { ASSERT_TRUE(r.phoneBook.Add(new COneTouch(5))); },
         "Composition instantanée 05 : Ajouter entrée de type : la touche ne compose rien."},
        {"a group without members",
         [](CConfig& r) { ASSERT_TRUE(r.phoneBook.Add(new CGroupDial(7, "Vide"))); },
         "Composition de groupe 0007 : Membres du groupe : le groupe n'a aucun membre."},
        {"a group member that is not an individual key",
         [](CConfig& r) {
             r.phoneBook.GetGroupDial(1999)->members.AddTail(r.phoneBook.GetOneTouch(2));
         },
         "Composition de groupe 1999 : Membres du groupe : l'entrée 02 n'est pas dans l'annuaire."},
        {"a client name too long", [longText](CConfig& r) { r.clientCodes.Get(99)->name = longText; },
         "Code client 99 : Nom : plus de 20 caractères."},
    };
    for (const BadRecord& row : cases) {
        SCOPED_TRACE(row.name);
        CConfig record;
        FillCleanRecord(record);
        row.spoil(record);
        CStringArray findings;
        ASSERT_EQ(CheckRecord(record, findings), 1);
        EXPECT_EQ(Text(findings[0]), row.line);
    }
}

TEST(RecordCheckTest, EveryFindingOfARecordIsListed)
{
    CConfig record;
    record.machine.contrast = -1;
    record.faxSend.redialInterval = 0;
    record.snmp.trapMemoryFull = 5;
    CStringArray findings;
    ASSERT_EQ(CheckRecord(record, findings), 3);
    EXPECT_EQ(Text(findings[0]), "Paramètres machine : Contraste : -1 n'est pas compris entre 0 et 2.");
    EXPECT_EQ(Text(findings[1]), "Envoi télécopie : Intervalle (1-15 min) : 0 n'est pas compris entre 1 et 15.");
    EXPECT_EQ(Text(findings[2]), "SNMP : Mémoire saturée : 5 n'est pas compris entre 0 et 1.");
}

// Whatever the device would refuse, the line says on which page and in which field.
TEST(RecordCheckTest, EveryFindingNamesItsPageAndField)
{
    CConfig record;
    FillFullRecord(record);
    CStringArray findings;
    ASSERT_GT(CheckRecord(record, findings), 0);
    for (int index = 0; index < findings.GetSize(); ++index) {
        const QStringList parts = static_cast<const QString&>(findings[index]).split(" : ");
        ASSERT_GE(parts.size(), 3) << Text(findings[index]);
        EXPECT_FALSE(parts[0].trimmed().isEmpty()) << Text(findings[index]);
        EXPECT_FALSE(parts[1].trimmed().isEmpty()) << Text(findings[index]);
    }
}

} // namespace
