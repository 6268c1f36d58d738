// Contact files: sample files of each format against the directory and report they give,
// round trips through every format, and the written files read by Debian's own readers.
#include "records.h"

#include "device/lib/contacts.h"
#include "device/lib/phonebook.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using contacts::Format;

namespace {

// The directory as lines: speed dials, keys, groups.
std::string Dump(const CPhoneBook& book)
{
    QStringList lines;
    for (POSITION pos = book.GetSpeedDials().GetHeadPosition(); pos != nullptr;) {
        const auto* entry = static_cast<const CSpeedDial*>(book.GetSpeedDials().GetNext(pos));
        const CDialingData& d = *entry->GetDialingData();
        QString line = QStringLiteral("%1 %2 | %3").arg(QString(FormatId(entry->GetId(), 3)), QString(d.name), QString(d.faxNumber));
        if (!QString(d.secondNumber).isEmpty())
            line += QStringLiteral(" | 2: ") + QString(d.secondNumber);
        if (!QString(d.emailAddress).isEmpty())
            line += QStringLiteral(" | @: ") + QString(d.emailAddress);
        lines << line;
    }
    for (POSITION pos = book.GetOneTouches().GetHeadPosition(); pos != nullptr;) {
        const auto* key = static_cast<const COneTouch*>(book.GetOneTouches().GetNext(pos));
        CStringArray texts;
        key->GetText(texts);
        lines << QStringLiteral("touche %1 -> %2").arg(QString(texts[0]), QString(texts[3]));
    }
    for (POSITION pos = book.GetGroupDials().GetHeadPosition(); pos != nullptr;) {
        const auto* group = static_cast<const CGroupDial*>(book.GetGroupDials().GetNext(pos));
        QStringList members;
        for (POSITION m = group->members.GetHeadPosition(); m != nullptr;)
            members << QString(FormatId(static_cast<const CIdObject*>(group->members.GetNext(m))->GetId(), 3));
        lines << QStringLiteral("groupe %1 %2 : %3").arg(QString(FormatId(group->GetId(), 4)), QString(group->name), members.join(u' '));
    }
    return lines.join(u'\n').toStdString();
}

std::string Report(const contacts::ImportPlan& plan)
{
    if (!plan.error.isEmpty())
        return "erreur : " + plan.error.toStdString();
    QStringList lines;
    for (const contacts::ReportLine& line : plan.lines)
        lines << line.Printed();
    lines << plan.Summary();
    return lines.join(u'\n').toStdString();
}

struct Sample {
    const char* name;
    Format format;
    QByteArray file;
    std::string directory;     // after the import, into the directory the case starts with
    std::string report;
    int speedDialCapacity = 999;
};

// The directory the samples import into: one speed dial, one key of its own.
void StartingDirectory(CPhoneBook& book)
{
    auto* old = new CSpeedDial(3);
    old->GetDialingData()->name = "Ancien";
    old->GetDialingData()->faxNumber = "0144";
    book.Add(old);
    CDialingData* record = book.NewDialingData();
    record->name = "Touche seule";
    record->faxNumber = "0199";
    book.Add(new COneTouch(2, record));
}

const std::string start = "003 Ancien | 0144\ntouche 02 -> 0199";

class ContactSamples : public ::testing::TestWithParam<Sample> {};

TEST_P(ContactSamples, GiveTheirDirectoryAndReport)
{
    const Sample& sample = GetParam();
    CapacityGuard capacity(CSpeedDial::max_count, sample.speedDialCapacity);
    CPhoneBook book;
    StartingDirectory(book);
    const QByteArray before = Save(book);
    const contacts::ImportPlan plan = contacts::PlanImport(book, contacts::Read(sample.format, sample.file));
    EXPECT_EQ(Report(plan), sample.report);
    // The directory itself is untouched until the caller takes the result.
    EXPECT_EQ(Save(book), before);
    if (plan.result) {
        book.TakeContents(*plan.result);
        EXPECT_EQ(Dump(book), sample.directory);
    } else {
        EXPECT_EQ(start, sample.directory);
    }
}

const Sample samples[] = {
    {"CsvQuotingKeysAndGroups", Format::csv,
     "Nom,Fax,Numéro,Touche,Groupes\r\n"
     "\"Dupont, Jean\",01-40-50.60.70,,01,Ventes\r\n"
     "\"Le \"\"Chef\"\"\",(01) 45 00 00 00,7,,\"Ventes;Direction (0005)\"\r\n"
     "\"Sur deux\nlignes\",0160,,,\r\n"
     "Après,0170,,,\r\n",
     "001 Dupont, Jean | 0140506070\n002 Sur deux lignes | 0160\n003 Ancien | 0144\n004 Après | 0170\n"
     "007 Le \"Chef\" | 01 45 00 00 00\n"
     "touche 01 -> 001\ntouche 02 -> 0199\ngroupe 0001 Ventes : 001 007\ngroupe 0005 Direction : 007",
     "ligne 2 : Ajoutée : composition abrégée 001 « Dupont, Jean »\n"
     "ligne 2 : Ajoutée : touche 01 pour la composition abrégée 001 « Dupont, Jean »\n"
     "ligne 2 : Ajoutée : groupe 0001 « Ventes »\n"
     "ligne 3 : Ajoutée : composition abrégée 007 « Le \"Chef\" »\n"
     "ligne 3 : Ajoutée : groupe 0005 « Direction »\n"
     "ligne 4 : Ajoutée : composition abrégée 002 « Sur deux lignes »\n"
     "ligne 6 : Ajoutée : composition abrégée 004 « Après »\n"
     "7 ajoutées, 0 remplacée, 0 refusée, 0 inchangée."},
    {"CsvWindows1252SemicolonsEnglish", Format::csv,
     "Name;Fax number;Group\r\nH\xe9l\xe8ne \x80;0140;\"Ventes;Support\"\r\n",
     "001 Hélène € | 0140\n003 Ancien | 0144\ntouche 02 -> 0199\ngroupe 0001 Ventes : 001\ngroupe 0002 Support : 001",
     "ligne 2 : Ajoutée : composition abrégée 001 « Hélène € »\n"
     "ligne 2 : Ajoutée : groupe 0001 « Ventes »\n"
     "ligne 2 : Ajoutée : groupe 0002 « Support »\n"
     "3 ajoutées, 0 remplacée, 0 refusée, 0 inchangée."},
    {"CsvBomPlusAndLongName", Format::csv,
     "\xEF\xBB\xBFNom;Télécopie\nZoë Ütterström-Delacurt;+33 1 40 50 60 70\n",
     "001 Zoë Ütterström-Delac | 33 1 40 50 60 70\n003 Ancien | 0144\ntouche 02 -> 0199",
     "ligne 2 : Remarque : le nom « Zoë Ütterström-Delacurt » est raccourci à 20 caractères : « Zoë Ütterström-Delac ».\n"
     "ligne 2 : Remarque : le « + » initial du numéro « +33 1 40 50 60 70 » est retiré : le champ ne l'accepte pas, "
     "composez le préfixe international.\n"
     "ligne 2 : Ajoutée : composition abrégée 001 « Zoë Ütterström-Delac »\n"
     "1 ajoutée, 0 remplacée, 0 refusée, 0 inchangée."},
    {"CsvMissingFieldsBadValuesAndReplacement", Format::csv,
     "Nom,Téléphone,Numéro,Touche\nSans numéro,,,\nNouveau nom,0144,,\nPoste,0140 ext 12,,\n"
     "Hors plage,0150,1000,\nTouche,0151,,39\nCourt\n",
     "003 Nouveau nom | 0144\ntouche 02 -> 0199",
     "ligne 2 : Refusée : aucun numéro de fax.\n"
     "ligne 3 : Remplacée : composition abrégée 003 « Ancien » par « Nouveau nom »\n"
     "ligne 4 : Refusée : le numéro « 0140 ext 12 » contient « e », que le champ du numéro de fax n'accepte pas.\n"
     "ligne 5 : Refusée : le numéro de composition abrégée « 1000 » n'est pas de 001 à 999.\n"
     "ligne 6 : Refusée : la touche « 39 » n'est pas de 01 à 38.\n"
     "ligne 7 : Refusée : aucun numéro de fax.\n"
     "0 ajoutée, 1 remplacée, 5 refusées, 0 inchangée."},
    {"CsvDuplicatesAndTakenNumbers", Format::csv,
     "Nom,Fax,Numéro,Touche\nA,01 40,,\nB,0140,,\n,01 40,5,02\nC,0150,5,\nD,0160,,02\nAncien,0144,,\n",
     "003 Ancien | 0144\n005 A | 01 40\ntouche 02 -> 005",
     "ligne 2 : Remarque : la ligne 3 a le même numéro de fax : elle est réunie avec celle-ci.\n"
     "ligne 2 : Remarque : la ligne 4 a le même numéro de fax : elle est réunie avec celle-ci.\n"
     "ligne 2 : Ajoutée : composition abrégée 005 « A »\n"
     "ligne 2 : Remplacée : touche 02 pour la composition abrégée 005 « A » (elle composait « Touche seule »)\n"
     "ligne 5 : Refusée : la composition abrégée 005 est déjà donnée ligne 2.\n"
     "ligne 6 : Refusée : la touche 02 est déjà donnée ligne 2.\n"
     "1 ajoutée, 1 remplacée, 2 refusées, 1 inchangée."},
    {"CsvOverCapacity", Format::csv,
     "Nom,Fax\nUn,01\nDeux,02\nTrois,03\n",
     "001 Un | 01\n002 Deux | 02\n003 Ancien | 0144\ntouche 02 -> 0199",
     "ligne 2 : Ajoutée : composition abrégée 001 « Un »\n"
     "ligne 3 : Ajoutée : composition abrégée 002 « Deux »\n"
     "ligne 4 : Refusée : l'annuaire est plein : 3 compositions abrégées au plus.\n"
     "2 ajoutées, 0 remplacée, 1 refusée, 0 inchangée.",
     3},
    {"CsvUnclosedQuote", Format::csv, "Nom,Fax\n\"Dupont,0140\nMartin,0150\n", start,
     "erreur : ligne 2 : des guillemets ouverts ne sont jamais fermés."},
    {"CsvWithoutKnownHeadings", Format::csv, "Dupont,0140\nMartin,0150\n", start,
     "erreur : la première ligne ne nomme aucune colonne connue (Nom, Fax, Numéro, Touche, Groupes)."},
    {"VCard30FoldedEscapedFaxFirst", Format::vcard,
     "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Durand\\, Marie\\; RH\r\nTEL;TYPE=voice:0111\r\n"
     "item1.TEL;TYPE=fax,work:01 22\r\n  33 44\r\nCATEGORIES:Ventes (0004),Sup\\,port\r\n"
     "X-TAMSEL-ONE-TOUCH:05\r\nEND:VCARD\r\n",
     "001 Durand, Marie; RH | 01 22 33 44\n003 Ancien | 0144\ntouche 02 -> 0199\ntouche 05 -> 001\n"
     "groupe 0001 Sup,port : 001\ngroupe 0004 Ventes : 001",
     "ligne 1 : Ajoutée : composition abrégée 001 « Durand, Marie; RH »\n"
     "ligne 1 : Ajoutée : touche 05 pour la composition abrégée 001 « Durand, Marie; RH »\n"
     "ligne 1 : Ajoutée : groupe 0004 « Ventes »\n"
     "ligne 1 : Ajoutée : groupe 0001 « Sup,port »\n"
     "4 ajoutées, 0 remplacée, 0 refusée, 0 inchangée."},
    {"VCard40NameFromNAndTelUri", Format::vcard,
     "BEGIN:VCARD\nVERSION:4.0\nN:Martin;Paul;;M.;\nTEL;VALUE=uri;TYPE=\"work,fax\":tel:+33-1-40-00-00-01\n"
     "TEL;TYPE=fax:0155\nEMAIL:paul@example.org\nEND:VCARD\n",
     "001 M. Paul Martin | 33140000001 | 2: 0155 | @: paul@example.org\n003 Ancien | 0144\ntouche 02 -> 0199",
     "ligne 1 : Remarque : le « + » initial du numéro « tel:+33-1-40-00-00-01 » est retiré : le champ ne l'accepte pas, "
     "composez le préfixe international.\n"
     "ligne 1 : Ajoutée : composition abrégée 001 « M. Paul Martin »\n"
     "1 ajoutée, 0 remplacée, 0 refusée, 0 inchangée."},
    {"VCard21QuotedPrintableCharset", Format::vcard,
     "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:H=E9l=E8ne =\r\nDupr=E9\r\n"
     "TEL;WORK;VOICE:0100\r\nTEL;WORK;FAX:0155\r\nEND:VCARD\r\n"
     "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;QUOTED-PRINTABLE:Lef=C3=A8vre;Zo=C3=A9\r\nTEL:0166\r\nEND:VCARD\r\n",
     "001 Hélène Dupré | 0155\n002 Zoé Lefèvre | 0166\n003 Ancien | 0144\ntouche 02 -> 0199",
     "ligne 1 : Ajoutée : composition abrégée 001 « Hélène Dupré »\n"
     "ligne 8 : Ajoutée : composition abrégée 002 « Zoé Lefèvre »\n"
     "2 ajoutées, 0 remplacée, 0 refusée, 0 inchangée."},
    {"VCardWithoutNumberOrEnd", Format::vcard,
     "BEGIN:VCARD\nVERSION:3.0\nFN:Sans fax\nEMAIL:a@b.c\nEND:VCARD\nBEGIN:VCARD\nFN:Coupé\nTEL:0100\n",
     start,
     "ligne 1 : Refusée : aucun numéro de fax.\n"
     "ligne 6 : Refusée : la fiche ne se termine pas par END:VCARD.\n"
     "0 ajoutée, 0 remplacée, 2 refusées, 0 inchangée."},
    {"VCardNotACard", Format::vcard, "Nom,Fax\nDupont,0140\n", start,
     "erreur : le fichier ne contient aucune fiche vCard (BEGIN:VCARD)."},
    {"LdifBase64FoldedGroups", Format::ldif,
     "version: 1\n\n# exporté\ndn: uid=jdoe,ou=people,dc=example,dc=org\nobjectClass: inetOrgPerson\n"
     "cn:: w4lsb2RpZQ==\nsn: X\nfacsimileTelephoneNumber: 01 40 50\n  60 70\ntelephoneNumber: 0999\n\n"
     "dn: cn=Paul,ou=people,dc=example,dc=org\ncn: Paul\ntelephoneNumber: 0188\nuid: 012\n\n"
     "dn: ou=people,dc=example,dc=org\nobjectClass: organizationalUnit\nou: people\n\n"
     "dn: cn=Ventes,ou=groups,dc=example,dc=org\nobjectClass: groupOfNames\ncn: Ventes\n"
     "member: uid=jdoe, ou=people,dc=example,dc=org\nmember: cn=Inconnu,dc=example,dc=org\n",
     "001 Élodie | 01 40 50 60 70\n003 Ancien | 0144\n012 Paul | 0188\ntouche 02 -> 0199\ngroupe 0001 Ventes : 001",
     "ligne 4 : Ajoutée : composition abrégée 001 « Élodie »\n"
     "ligne 4 : Ajoutée : groupe 0001 « Ventes »\n"
     "ligne 12 : Ajoutée : composition abrégée 012 « Paul »\n"
     "3 ajoutées, 0 remplacée, 0 refusée, 0 inchangée."},
    {"LdifBrokenEntries", Format::ldif,
     "dn: cn=A\ncn:: ###\nfacsimileTelephoneNumber: 01\n\ndn: cn=B\nchangetype: modify\nreplace: cn\n\n"
     "cn: sans dn\n\ndn: cn=C\nnot an attribute\n\ndn: cn=D\nfacsimileTelephoneNumber: 0177\n",
     "001 D | 0177\n003 Ancien | 0144\ntouche 02 -> 0199",
     "ligne 1 : Refusée : la valeur de cn (ligne 2) n'est pas du base64 valide.\n"
     "ligne 5 : Refusée : l'entrée modifie l'annuaire LDAP (changetype: modify) au lieu d'en décrire un contact.\n"
     "ligne 9 : Refusée : l'entrée ne commence pas par « dn: ».\n"
     "ligne 11 : Refusée : la ligne 12 n'est pas de la forme « attribut: valeur ».\n"
     "ligne 14 : Ajoutée : composition abrégée 001 « D »\n"
     "1 ajoutée, 0 remplacée, 4 refusées, 0 inchangée."},
    {"CsvGroupRowsMakeGroupsAndTheirKeys", Format::csv,
     "Nom,Fax,Touche,Groupes\nDupont,0140,,Ventes (0003)\n,,07,Ventes (0003)\n,,,Vide\n,,02,Direction (0009)\n",
     "001 Dupont | 0140\n003 Ancien | 0144\ntouche 02 -> 0009\ntouche 07 -> 0003\n"
     "groupe 0001 Vide : \ngroupe 0003 Ventes : 001\ngroupe 0009 Direction : ",
     "ligne 2 : Ajoutée : composition abrégée 001 « Dupont »\n"
     "ligne 2 : Ajoutée : groupe 0003 « Ventes »\n"
     "ligne 3 : Ajoutée : touche 07 pour le groupe 0003 « Ventes »\n"
     "ligne 4 : Ajoutée : groupe 0001 « Vide »\n"
     "ligne 5 : Ajoutée : groupe 0009 « Direction »\n"
     "ligne 5 : Remplacée : touche 02 pour le groupe 0009 « Direction » (elle composait « Touche seule »)\n"
     "5 ajoutées, 1 remplacée, 0 refusée, 0 inchangée."},
    {"VCardGroupCards", Format::vcard,
     "BEGIN:VCARD\nVERSION:4.0\nKIND:group\nFN:Équipe (0004)\nX-TAMSEL-ONE-TOUCH:09\nMEMBER:urn:uuid:1\nEND:VCARD\n"
     "BEGIN:VCARD\nVERSION:3.0\nX-ADDRESSBOOKSERVER-KIND:group\nN:Vide;;;;\nEND:VCARD\n"
     "BEGIN:VCARD\nVERSION:4.0\nKIND:group\nEND:VCARD\n",
     "003 Ancien | 0144\ntouche 02 -> 0199\ntouche 09 -> 0004\ngroupe 0001 Vide : \ngroupe 0004 Équipe : ",
     "ligne 1 : Ajoutée : groupe 0004 « Équipe »\n"
     "ligne 1 : Ajoutée : touche 09 pour le groupe 0004 « Équipe »\n"
     "ligne 8 : Ajoutée : groupe 0001 « Vide »\n"
     "ligne 13 : Refusée : un groupe sans nom ni numéro.\n"
     "3 ajoutées, 0 remplacée, 1 refusée, 0 inchangée."},
    {"LdifEmptyGroupWithAKey", Format::ldif,
     "dn: cn=Vide (0006),ou=g\nobjectClass: groupOfNames\nobjectClass: uidObject\ncn: Vide (0006)\nuid: 04\n"
     "member: cn=Vide (0006),ou=g\n",
     "003 Ancien | 0144\ntouche 02 -> 0199\ntouche 04 -> 0006\ngroupe 0006 Vide : ",
     "ligne 1 : Ajoutée : groupe 0006 « Vide »\n"
     "ligne 1 : Ajoutée : touche 04 pour le groupe 0006 « Vide »\n"
     "2 ajoutées, 0 remplacée, 0 refusée, 0 inchangée."},
    {"LdifNoEntry", Format::ldif, "\x89PNG\r\n\x1a\n", start,
     "erreur : le fichier ne contient aucune entrée LDIF (dn:)."},
};

INSTANTIATE_TEST_SUITE_P(Files, ContactSamples, ::testing::ValuesIn(samples),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

// Every field the files carry, with quotes, separators, accents and a billing code; keys that
// stand for groups, and groups without members.
void CarriedDirectory(CPhoneBook& book)
{
    const auto speedDial = [&](int number, const char* name, const char* fax, const char* second, const char* mail) {
        auto* entry = new CSpeedDial(number);
        CDialingData& d = *entry->GetDialingData();
        d.name = QString::fromUtf8(name);
        d.faxNumber = fax;
        d.secondNumber = second;
        d.emailAddress = mail;
        EXPECT_TRUE(book.Add(entry));
        return entry;
    };
    CSpeedDial* dupont = speedDial(1, "Dupont, Jean", "01 40 50 60 70$12#", "0155", "jean@example.org");
    CSpeedDial* zoe = speedDial(2, "Zoë « L'Œil »; \"q\"", "0140", "", "");
    CSpeedDial* nameless = speedDial(9, "", "0199", "", "");
    CSpeedDial* longName = speedDial(512, "Ééééééééééééééééééé€", "1*2#3,4", "", "");
    book.Add(new COneTouch(1, dupont));
    book.Add(new COneTouch(3, longName));
    book.Add(new COneTouch(38, dupont));
    auto* sales = new CGroupDial(1, "Ventes");
    sales->members.AddTail(dupont);
    sales->members.AddTail(zoe);
    sales->members.AddTail(longName);
    book.Add(sales);
    auto* direction = new CGroupDial(1999, "Dir, (x) \\ = +");
    direction->members.AddTail(zoe);
    direction->members.AddTail(nameless);
    book.Add(direction);
    auto* empty = new CGroupDial(7, "Vide");
    book.Add(empty);
    book.Add(new CGroupDial(8, "Réserve"));
    book.Add(new COneTouch(5, sales));
    book.Add(new COneTouch(6, empty));
}

class ContactRoundTrip : public ::testing::TestWithParam<Format> {};

TEST_P(ContactRoundTrip, GivesTheSameDirectoryBack)
{
    CPhoneBook original;
    CarriedDirectory(original);
    const QByteArray file = contacts::Write(GetParam(), original);
    CPhoneBook empty;
    const contacts::ImportPlan plan = contacts::PlanImport(empty, contacts::Read(GetParam(), file));
    ASSERT_TRUE(plan.result) << Report(plan);
    EXPECT_EQ(plan.refused, 0) << Report(plan);
    ExpectSamePhoneBook(original, *plan.result);
    EXPECT_EQ(Dump(*plan.result), Dump(original));
    // Read into the directory it came from, nothing changes.
    const contacts::ImportPlan again = contacts::PlanImport(original, contacts::Read(GetParam(), file));
    EXPECT_EQ(again.added + again.replaced + again.refused, 0) << Report(again);
    EXPECT_EQ(Save(*again.result), Save(original));
}

INSTANTIATE_TEST_SUITE_P(Formats, ContactRoundTrip, ::testing::Values(Format::csv, Format::vcard, Format::ldif),
                         [](const auto& info) {
                             return std::string(info.param == Format::csv ? "Csv" : info.param == Format::vcard ? "VCard" : "Ldif");
                         });

// What Debian's own reader of the format makes of a written file, as JSON.
QJsonValue ReadBack(const char* script, const QByteArray& file)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("contacts");
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();
    QProcess python;
    python.start("/usr/bin/python3", {"-c", script, path});
    EXPECT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object().value("out");
}

TEST(ContactFilesReadBack, CsvByPythonsCsvModule)
{
    CPhoneBook book;
    CarriedDirectory(book);
    const QJsonValue rows = ReadBack(R"(
import csv, json, sys
with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:
    print(json.dumps({'out': list(csv.reader(f))}))
)", contacts::Write(Format::csv, book));
    const QJsonArray expected{
        QJsonArray{"Numéro", "Nom", "Fax", "Second numéro", "Courriel", "Touche", "Groupes"},
        QJsonArray{"001", "Dupont, Jean", "01 40 50 60 70$12#", "0155", "jean@example.org", "01;38", "Ventes (0001)"},
        QJsonArray{"002", "Zoë « L'Œil »; \"q\"", "0140", "", "", "", "Ventes (0001);Dir, (x) \\ = + (1999)"},
        QJsonArray{"009", "", "0199", "", "", "", "Dir, (x) \\ = + (1999)"},
        QJsonArray{"512", "Ééééééééééééééééééé€", "1*2#3,4", "", "", "03", "Ventes (0001)"},
        QJsonArray{"", "", "", "", "", "05", "Ventes (0001)"},
        QJsonArray{"", "", "", "", "", "06", "Vide (0007)"},
        QJsonArray{"", "", "", "", "", "", "Réserve (0008)"},
        QJsonArray{"", "", "", "", "", "", "Dir, (x) \\ = + (1999)"},
    };
    EXPECT_EQ(rows, QJsonValue(expected));
}

// Cells a spreadsheet would compute are written as text, with an apostrophe that the reader
// takes off again; numbers, "+" first or not, are left as they are.
TEST(ContactFilesReadBack, CsvFormulaCellsAreTextToSpreadsheetsAndComeBack)
{
    CPhoneBook book;
    const auto speedDial = [&](int number, const char* name, const char* fax, const char* mail) {
        auto* entry = new CSpeedDial(number);
        entry->GetDialingData()->name = QString::fromUtf8(name);
        entry->GetDialingData()->faxNumber = fax;
        entry->GetDialingData()->emailAddress = mail;
        ASSERT_TRUE(book.Add(entry));
    };
    speedDial(1, "=HYPERLINK(\"x\")", "0140", "@SUM(1)");
    speedDial(2, "+Plus", "+33 1 40 50 60 70", "");
    speedDial(3, "-2+3", "-0150", "");
    speedDial(4, "'=déjà", "0160", "\tx");
    speedDial(5, "'Dupont", "0170", "");
    const QByteArray file = contacts::Write(Format::csv, book);
    const QJsonValue rows = ReadBack(R"(
import csv, json, sys
with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:
    print(json.dumps({'out': [row[:3] + row[4:5] for row in csv.reader(f)][1:]}))
)", file);
    const QJsonArray expected{
        QJsonArray{"001", "'=HYPERLINK(\"x\")", "0140", "'@SUM(1)"},
        QJsonArray{"002", "'+Plus", "+33 1 40 50 60 70", ""},
        QJsonArray{"003", "'-2+3", "-0150", ""},
        QJsonArray{"004", "''=déjà", "0160", "'\tx"},
        QJsonArray{"005", "'Dupont", "0170", ""},
    };
    EXPECT_EQ(rows, QJsonValue(expected)) << QJsonDocument(rows.toArray()).toJson().toStdString();

    const contacts::ReadResult read = contacts::Read(Format::csv, file);
    ASSERT_EQ(read.contacts.size(), 5);
    for (int i = 0; i < 5; ++i) {
        const CDialingData& data = *book.GetSpeedDial(i + 1)->GetDialingData();
        EXPECT_EQ(read.contacts[i].name, QString(data.name));
        EXPECT_EQ(read.contacts[i].fax, QString(data.faxNumber));
        EXPECT_EQ(read.contacts[i].email, QString(data.emailAddress));
    }
}

TEST(ContactFilesReadBack, VCardByPythonVobject)
{
    CPhoneBook book;
    CarriedDirectory(book);
    const QJsonValue cards = ReadBack(R"(
import json, sys, vobject
out = []
with open(sys.argv[1], encoding='utf-8') as f:
    for card in vobject.readComponents(f.read()):
        value = lambda name: card.contents[name][0].value if name in card.contents else ''
        out.append([card.fn.value, [t.value for t in card.contents.get('tel', []) if 'FAX' in [p.upper() for p in t.params.get('TYPE', [])]],
                    card.categories.value if 'categories' in card.contents else [],
                    value('x-tamsel-speed-dial'), value('x-addressbookserver-kind'),
                    [p.value for p in card.contents.get('x-tamsel-one-touch', [])]])
print(json.dumps({'out': out}))
)", contacts::Write(Format::vcard, book));
    const QJsonArray expected{
        QJsonArray{"Dupont, Jean", QJsonArray{"01 40 50 60 70$12#", "0155"}, QJsonArray{"Ventes (0001)"}, "001", "", QJsonArray{"01", "38"}},
        QJsonArray{"Zoë « L'Œil »; \"q\"", QJsonArray{"0140"}, QJsonArray{"Ventes (0001)", "Dir, (x) \\ = + (1999)"}, "002", "", QJsonArray{}},
        QJsonArray{"", QJsonArray{"0199"}, QJsonArray{"Dir, (x) \\ = + (1999)"}, "009", "", QJsonArray{}},
        QJsonArray{"Ééééééééééééééééééé€", QJsonArray{"1*2#3,4"}, QJsonArray{"Ventes (0001)"}, "512", "", QJsonArray{"03"}},
        QJsonArray{"Ventes (0001)", QJsonArray{}, QJsonArray{}, "", "group", QJsonArray{"05"}},
        QJsonArray{"Vide (0007)", QJsonArray{}, QJsonArray{}, "", "group", QJsonArray{"06"}},
        QJsonArray{"Réserve (0008)", QJsonArray{}, QJsonArray{}, "", "group", QJsonArray{}},
        QJsonArray{"Dir, (x) \\ = + (1999)", QJsonArray{}, QJsonArray{}, "", "group", QJsonArray{}},
    };
    EXPECT_EQ(cards, QJsonValue(expected)) << QJsonDocument(cards.toArray()).toJson().toStdString();
}

TEST(ContactFilesReadBack, LdifByPythonLdap)
{
    CPhoneBook book;
    CarriedDirectory(book);
    const QJsonValue entries = ReadBack(R"(
import json, sys, ldif
with open(sys.argv[1], 'rb') as f:
    parser = ldif.LDIFRecordList(f)
    parser.parse()
out = [[dn, {k: [v.decode('utf-8') for v in vs] for k, vs in entry.items() if k in ('objectClass', 'cn', 'uid', 'facsimileTelephoneNumber', 'mail', 'member')}]
       for dn, entry in parser.all_records]
print(json.dumps({'out': out}))
)", contacts::Write(Format::ldif, book));
    const QJsonArray all = entries.toArray();
    ASSERT_EQ(all.size(), 9);   // the unit, four contacts, four groups
    EXPECT_EQ(all[1], QJsonValue(QJsonArray{"uid=001,ou=Annuaire",
                                            QJsonObject{{"objectClass", QJsonArray{"top", "person", "organizationalPerson", "inetOrgPerson"}},
                                                        {"uid", QJsonArray{"001", "01", "38"}},
                                                        {"cn", QJsonArray{"Dupont, Jean"}},
                                                        {"facsimileTelephoneNumber", QJsonArray{"01 40 50 60 70$12#", "0155"}},
                                                        {"mail", QJsonArray{"jean@example.org"}}}}));
    EXPECT_EQ(all[2].toArray()[1].toObject().value("cn"), QJsonValue(QJsonArray{"Zoë « L'Œil »; \"q\""}));
    EXPECT_EQ(all[5], QJsonValue(QJsonArray{"cn=Ventes (0001),ou=Annuaire",
                                            QJsonObject{{"objectClass", QJsonArray{"top", "groupOfNames", "uidObject"}},
                                                        {"cn", QJsonArray{"Ventes (0001)"}},
                                                        {"uid", QJsonArray{"05"}},
                                                        {"member", QJsonArray{"uid=001,ou=Annuaire", "uid=002,ou=Annuaire",
                                                                              "uid=512,ou=Annuaire"}}}}));
    // An empty group is its own member: groupOfNames must have one.
    EXPECT_EQ(all[7], QJsonValue(QJsonArray{"cn=Réserve (0008),ou=Annuaire",
                                            QJsonObject{{"objectClass", QJsonArray{"top", "groupOfNames"}},
                                                        {"cn", QJsonArray{"Réserve (0008)"}},
                                                        {"member", QJsonArray{"cn=Réserve (0008),ou=Annuaire"}}}}));
    EXPECT_EQ(all[8], QJsonValue(QJsonArray{"cn=Dir\\, (x) \\\\ \\= \\+ (1999),ou=Annuaire",
                                            QJsonObject{{"objectClass", QJsonArray{"top", "groupOfNames"}},
                                                        {"cn", QJsonArray{"Dir, (x) \\ = + (1999)"}},
                                                        {"member", QJsonArray{"uid=002,ou=Annuaire", "uid=009,ou=Annuaire"}}}}));
}

} // namespace
