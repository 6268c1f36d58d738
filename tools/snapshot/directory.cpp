// The directory category with a directory that looks lived in: a dozen speed dials, one-touch
// keys of each type and group dials, names with accents.
#include "snapshot.h"

#include "device/lib/contacts.h"
#include "device/lib/phonebook.h"
#include "directory/contactimportdlg.h"
#include "directory/dialentrydlg.h"
#include "directory/directorypages.h"
#include "document/ntsmgr.h"
#include "pages/selectentrydlg.h"
#include "view/categorysheet.h"
#include "view/ntsview.h"

namespace snapshot {

namespace {

constexpr int kDirectoryCategory = 2;

const char* const kNames[] = {
    "Agence Île-de-France", "Hôtel Bellevue", "Mairie de Sète", "Clinique Pasteur", "Société Générale",
    "Crèche Les Lutins", "Librairie Molière", "Garage Renée", "Étude Maître Lefèvre", "Café de la Gare",
    "Pharmacie Dupré", "Lycée Jean-Jaurès", "Coopérative agricole", "Théâtre municipal",
};

void FillDirectory(CPhoneBook& book)
{
    for (int n = 0; n < 12; ++n) {
        auto* entry = new CSpeedDial(n * 7 + 1);
        entry->GetDialingData()->name = kNames[n];
        entry->GetDialingData()->faxNumber = CString("01 4") + FormatId(n % 10, 1) + " 55 " + FormatId(10 + n * 3, 2) + " 00";
        book.Add(entry);
    }
    const char* const groups[] = {"Équipe de nuit", "Direction régionale", "Fournisseurs", "Services d'urgence",
                                  "Comité d'entreprise", "Écoles du quartier", "Hôpitaux", "Presse locale",
                                  "Délégués syndicaux", "Réseau Sud-Ouest", "Partenaires européens", "Clients privilégiés"};
    for (int n = 0; n < 12; ++n) {
        auto* group = new CGroupDial(n * 3 + 1, groups[n]);
        for (POSITION pos = book.GetSpeedDials().GetHeadPosition(); pos;) {
            CObject* speedDial = book.GetSpeedDials().GetNext(pos);
            if (static_cast<CSpeedDial*>(speedDial)->GetId() % (n + 2) == 1)
                group->members.AddTail(speedDial);
        }
        book.Add(group);
    }
    // Keys of the three types: for a speed dial, for a group, with a record of their own.
    for (int n = 1; n <= 12; ++n) {
        CObject* ref = nullptr;
        switch (n % 3) {
        case 0:
            ref = book.GetSpeedDials().GetAt(book.GetSpeedDials().FindIndex(n - 1));
            break;
        case 1:
            ref = book.GetGroupDials().GetAt(book.GetGroupDials().FindIndex(n - 1));
            break;
        default: {
            CDialingData* record = book.NewDialingData();
            record->name = kNames[n + 1];
            record->faxNumber = CString("04 9") + FormatId(n % 10, 1) + " 12 34 " + FormatId(n * 4, 2);
            ref = record;
            break;
        }
        }
        book.Add(new COneTouch(n, ref));
    }
}

void RenderDirectory(Album& album)
{
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    auto* view = frame ? dynamic_cast<CNtsView*>(frame->GetActiveView()) : nullptr;
    if (!view)
        return;
    CNtsMgr* document = view->GetDocument();
    FillDirectory(document->config.phoneBook);
    document->UpdateAllViews(nullptr, 0, nullptr);
    view->SelectCategory(kDirectoryCategory);
    if (CCategorySheet* sheet = view->SheetOf(kDirectoryCategory)) {
        for (int tab = 0; tab < sheet->GetPageCount(); ++tab) {
            sheet->SetActivePage(tab);
            album.Capture(QStringLiteral("directory-full-tab%1").arg(tab), frame->m_hWnd);
        }
        sheet->SetActivePage(0);
        CPhoneBook& book = document->config.phoneBook;
        CSpeedDial* speedDial = book.GetSpeedDial(8);
        speedDial->GetDialingData()->faxNumber = "01 41 55 13 00$4711";
        CDialEntryDlg speedDialEntry(&book, speedDial, FALSE, dynamic_cast<CListPage*>(sheet->GetPage(0)));
        CaptureModal(album, QStringLiteral("dialog-speed-dial-entry"), speedDialEntry);
        sheet->SetActivePage(1);
        CDialEntryDlg keyEntry(&book, book.GetOneTouch(4), TRUE, dynamic_cast<CListPage*>(sheet->GetPage(1)));
        CaptureModal(album, QStringLiteral("dialog-one-touch-entry-group"), keyEntry);
        CSelectEntryDlg select(&book, 1, 15, frame);
        CaptureModal(album, QStringLiteral("dialog-select-speed-dial"), select);
        // The preview of an import that adds, replaces, cuts a name and refuses.
        const QByteArray csv = "Nom;Fax;Touche;Groupes\r\nHôtel Bellevue;01 41 55 13 00;;Presse locale\r\n"
                               "Agence Nord-Pas-de-Calais de Lille;+33 3 20 00 00 00;13;Réseau Nord\r\n"
                               "Sans numéro;;;\r\nPoste;0140 poste 12;;\r\n";
        const contacts::ImportPlan plan = contacts::PlanImport(book, contacts::Read(contacts::Format::csv, csv));
        CContactImportDlg preview(plan, "contacts.csv", frame);
        CaptureModal(album, QStringLiteral("dialog-contact-import"), preview);
        sheet->SetActivePage(0);
    }
    document->config.phoneBook.DeleteContents(4);
    document->UpdateAllViews(nullptr, 0, nullptr);
    document->SetModifiedFlag(FALSE);
    view->SelectCategory(0);
}

} // namespace

std::vector<Subject> DirectorySubjects()
{
    return {{QStringLiteral("full directory"), RenderDirectory}};
}

} // namespace snapshot
