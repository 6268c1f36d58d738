// The console's own embedded script: a sample of its texts, templates, menu, accelerators and
// toolbar as the program relies on them, and the country list.
#include "afx/core/cstring.h"
#include "afx/core/resources.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <array>
#include <gtest/gtest.h>
#include <set>
#include <thread>

using afx::Accelerator;
using afx::DialogItem;
using afx::MenuItem;
using afx::ResourceError;
using afx::ResourceScript;

namespace {

TEST(ConsoleScript, LoadsOnceEvenWhenFirstUsedFromSeveralThreads)
{
    std::array<const ResourceScript*, 8> seen{};
    std::array<std::string, 8> errors;
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&, i] {
            try {
                seen[i] = &ResourceScript::Instance();
            } catch (const ResourceError& e) {
                errors[i] = e.what();
            }
        });
    for (std::thread& t : threads)
        t.join();
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(errors[i], "");
        EXPECT_EQ(seen[i], seen[0]);
    }
}

struct StringRow {
    int id;
    const char* utf8;
};

const StringRow stringRows[] = {
    {61228, "Tamsel s'exécute déjà."},
    {57344, "Brevia Pro 40/45 Tamsel de CORVANE"},
    {57345, "Pour de l'aide, appuyer sur F1"},
    {61246, "Le Brevia vous invite à entrer un code à 4 chiffres lors de l'envoi de télécopies. Utilisez "
            "cette option si vous avez un système de suivi d'une autre société, comme Tallykeys\n"},
    {1150, "Très élevée (jusqu'à 406 x 391 ppp);Élevée (203 x 195 ppp);Standard (203 x 98 ppp);"},
    {128, "Brevia Pro 40/45 Tamsel de Corvane\nParamètres\nTamsel\nParamètres (*.tms)\n.tms\nTMS.Document\nDocument TMS"},
    {32796, "Changer le mot de passe du périphérique\nMote de passe"},
    {61254, "Mot de passe n'a pas été changé. Vérifier l'information et réessayer."},
    {61255, "Mot de passe incorrect. Réessayer."},
    {10047, "Déconnecter"},
    {59139, "DEFIL"},
};

TEST(ConsoleScript, TextsStandByteForByte)
{
    const ResourceScript& script = ResourceScript::Instance();
    for (const StringRow& row : stringRows) {
        SCOPED_TRACE(row.id);
        const QString* text = script.String(row.id);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->toUtf8().toStdString(), row.utf8);
    }
}

TEST(ConsoleScript, LoadStringFillsOrEmptiesTheString)
{
    CString text = "before";
    EXPECT_EQ(text.LoadString(57344), TRUE);
    EXPECT_EQ(QString(text).toStdString(), "Brevia Pro 40/45 Tamsel de CORVANE");
    for (UINT absent : {0u, 3u, 0x10000u + 57344u}) {
        text = "before";
        EXPECT_EQ(text.LoadString(absent), FALSE) << absent;
        EXPECT_TRUE(text.IsEmpty()) << absent;
    }
}

struct ItemRow {
    int id;
    const char* className;
    const char* text;
    std::optional<std::array<int, 4>> rect;   // x, y, width, height
    uint32_t styleSet = 0;                    // bits that must be on
    uint32_t styleClear = 0;                  // bits that must be off
};

struct TemplateRow {
    int id;
    int cx, cy;
    const char* caption;   // nullptr: not checked
    std::vector<ItemRow> items;
};

constexpr uint32_t WS_VISIBLE = 0x10000000, WS_BORDER = 0x00800000, WS_VSCROLL = 0x00200000,
                   BS_DEFPUSHBUTTON = 0x1, ES_RIGHT = 0x2, ES_PASSWORD = 0x20, ES_NUMBER = 0x2000,
                   CBS_DROPDOWNLIST = 0x3, SS_ICON = 0x3, LBS_NOTIFY = 0x1,
                   LBS_OWNERDRAWVARIABLE = 0x20, LBS_HASSTRINGS = 0x40;

using Rect = std::array<int, 4>;

const TemplateRow templateRows[] = {
    {130, 330, 175, "Paramètres machine", {
        {-1, "Static", "No&m société :", Rect{7, 3, 169, 8}},
        {1056, "Edit", "", Rect{7, 11, 188, 12}},
        {-1, "Button", "Valeur par défaut du panneau de commande", Rect{7, 25, 188, 75}},
        {-1, "Static", "&Résolution :", Rect{17, 33, 171, 8}},
        {1150, "ComboBox", "", Rect{17, 41, 171, 45}, CBS_DROPDOWNLIST},
        {-1, "Static", "Co&ntraste :", Rect{17, 55, 171, 8}},
        {1151, "ComboBox", "", Rect{17, 63, 171, 49}, CBS_DROPDOWNLIST},
        {-1, "Static", "Touc&he de relevé des activités :", Rect{17, 77, 171, 8}},
        {1152, "ComboBox", "", Rect{17, 85, 171, 50}, CBS_DROPDOWNLIST},
        {-1, "Button", "", Rect{7, 97, 188, 48}},
        {1184, "Button", "Acti&ver mode économiseur", Rect{17, 107, 106, 9}},
        {-1, "Static", "Activer mode &super économiseur :", Rect{17, 118, 109, 8}},
        {1159, "ComboBox", "", Rect{17, 127, 87, 49}, CBS_DROPDOWNLIST},
        {-1, "Static", "Minut&es (1-60) :", Rect{136, 119, 53, 8}},
        {1320, "Edit", "", Rect{136, 127, 30, 12}, ES_NUMBER | ES_RIGHT},
        {1318, "msctls_updown32", "", Rect{166, 128, 11, 11}},
        {1370, "Button", "Assem&bler copies", Rect{17, 152, 90, 10}},
        {-1, "Button", "Volumes", Rect{203, 3, 122, 59}},
        {-1, "Static", "Sonner&ie :", Rect{208, 12, 52, 8}},
        {1155, "ComboBox", "", Rect{208, 21, 34, 49}, CBS_DROPDOWNLIST},
        {-1, "Static", "A&larme :", Rect{279, 12, 26, 8}},
        {1139, "ComboBox", "", Rect{279, 20, 34, 49}, CBS_DROPDOWNLIST},
        {-1, "Static", "&Touche :", Rect{208, 36, 51, 8}},
        {1169, "ComboBox", "", Rect{208, 44, 34, 49}, CBS_DROPDOWNLIST},
        {-1, "Static", "Li&gne :", Rect{279, 36, 36, 8}},
        {1158, "ComboBox", "", Rect{279, 44, 34, 49}, CBS_DROPDOWNLIST},
        {-1, "Button", "Séparateur", Rect{203, 62, 122, 24}},
        {1313, "Button", "Impression fa&x", Rect{206, 70, 70, 10}},
        {-1, "Button", "Sélection de format papier", Rect{203, 89, 122, 36}},
        {-1, "Static", "Magasin &2", Rect{210, 99, 40, 8}},
        {1394, "ComboBox", "", Rect{209, 109, 48, 65}, CBS_DROPDOWNLIST},
        {-1, "Static", "Magasin &1", Rect{270, 99, 45, 8}},
        {1392, "ComboBox", "", Rect{269, 109, 48, 65}, CBS_DROPDOWNLIST},
        {-1, "Button", "", Rect{203, 126, 122, 19}},
        {1228, "Button", "Demander code de com&pte", Rect{206, 132, 111, 9}},
        {1241, "Button", "Vale&urs par défaut", Rect{218, 148, 105, 15}},
    }},
    {162, 78, 210, nullptr, {
        {1278, "ListBox", "", std::nullopt, LBS_OWNERDRAWVARIABLE | LBS_NOTIFY | WS_VSCROLL | WS_BORDER, LBS_HASSTRINGS},
        {1005, "SysListView32", "", std::nullopt, 0, WS_VISIBLE},
    }},
    {145, 224, 55, "Entrer mot de passe", {
        {-1, "Static", "128", Rect{14, 9, 20, 20}, SS_ICON},
        {-1, "Static", "Mot de &passe :", Rect{49, 13, 70, 8}},
        {1298, "Edit", "", Rect{122, 11, 87, 14}, ES_PASSWORD},
        {1, "Button", "OK", Rect{7, 34, 50, 14}},
        {2, "Button", "Annuler", Rect{63, 34, 50, 14}},
        {1382, "Button", "C&hanger mot de passe...", Rect{119, 34, 98, 14}},
    }},
    {146, 247, 82, "Changer mot de passe", {
        {-1, "Static", "Anci&en :", Rect{7, 10, 98, 8}},
        {1140, "Edit", "", Rect{112, 7, 119, 14}, ES_PASSWORD},
        {-1, "Static", "&Nouveau :", Rect{7, 27, 98, 8}},
        {1004, "Edit", "", Rect{112, 23, 119, 14}, ES_PASSWORD},
        {-1, "Static", "Confir&mer :", Rect{7, 44, 98, 8}},
        {1006, "Edit", "", Rect{112, 39, 119, 14}, ES_PASSWORD},
        {1, "Button", "OK", Rect{32, 61, 50, 14}, BS_DEFPUSHBUTTON},
        {2, "Button", "Annuler", Rect{98, 61, 50, 14}},
        {9, "Button", "Ai&de", Rect{164, 61, 50, 14}},
    }},
};

TEST(ConsoleScript, TemplatesHoldTheirControlsInOrder)
{
    const ResourceScript& script = ResourceScript::Instance();
    for (const TemplateRow& row : templateRows) {
        SCOPED_TRACE(row.id);
        const afx::DialogTemplate* d = script.Dialog(row.id);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->cx, row.cx);
        EXPECT_EQ(d->cy, row.cy);
        if (row.caption) {
            EXPECT_EQ(d->caption.toStdString(), row.caption);
        }
        std::vector<int> ids, expectedIds;
        for (const DialogItem& item : d->items)
            ids.push_back(item.id);
        for (const ItemRow& item : row.items)
            expectedIds.push_back(item.id);
        ASSERT_EQ(ids, expectedIds);
        for (size_t i = 0; i < row.items.size(); ++i) {
            const ItemRow& want = row.items[i];
            const DialogItem& item = d->items[i];
            SCOPED_TRACE(testing::Message() << "item " << i << " (" << want.id << ")");
            EXPECT_EQ(item.className.toStdString(), want.className);
            EXPECT_EQ(item.text.toStdString(), want.text);
            if (want.rect) {
                EXPECT_EQ((Rect{item.x, item.y, item.cx, item.cy}), *want.rect);
            }
            EXPECT_EQ(item.style & want.styleSet, want.styleSet) << std::hex << item.style;
            EXPECT_EQ(item.style & want.styleClear, 0u) << std::hex << item.style;
        }
    }
}

TEST(ConsoleScript, VolumeListsOfTheMachinePageComeFromItsInitData)
{
    const afx::DialogTemplate* d = ResourceScript::Instance().Dialog(130);
    ASSERT_NE(d, nullptr);
    const std::vector<std::string> levels{"0", "1", "2", "3", "4", "5", "6", "7"};
    for (int control : {1155, 1139, 1169, 1158}) {
        std::vector<std::string> items;
        for (const auto& [id, text] : d->initData)
            if (id == control)
                items.push_back(text.toStdString());
        EXPECT_EQ(items, levels) << "control " << control;
    }
}

// The menu flattened to "popup/text=id", separators as "popup/-".
std::vector<std::string> Flatten(const std::vector<MenuItem>& menu)
{
    std::vector<std::string> out;
    for (const MenuItem& popup : menu) {
        EXPECT_TRUE(popup.flags & MenuItem::Popup) << popup.text.toStdString();
        for (const MenuItem& item : popup.children)
            out.push_back(popup.text.toStdString() + "/"
                          + (item.flags & MenuItem::Separator ? "-"
                                                              : item.text.toStdString() + "=" + std::to_string(item.id)));
    }
    return out;
}

TEST(ConsoleScript, MainMenu)
{
    const std::vector<MenuItem>* menu = ResourceScript::Instance().Menu(128);
    ASSERT_NE(menu, nullptr);
    const std::vector<std::string> expected{
        "&Fichier/&Connecter...=32785",
        "&Fichier/&Déconnecter=32798",
        "&Fichier/Appl&iquer...=32772",
        "&Fichier/Com&parer avec le périphérique...=32813",
        "&Fichier/-",
        "&Fichier/&Nouveaux paramètres=57600",
        "&Fichier/&Ouvrir paramètres...=57601",
        "&Fichier/&Enregistrer paramètres...=57603",
        "&Fichier/Enregistrer paramètre&s sous...=57604",
        "&Fichier/-",
        "&Fichier/Définir da&te et heure à partir du PC...=32812",
        "&Fichier/Changer &mot de passe...=32796",
        "&Fichier/&Réinitialiser périphérique...=32804",
        "&Fichier/Mettre à jo&ur micrologiciel...=32802",
        "&Fichier/Restaurer valeurs de &l'usine=32805",
        "&Fichier/-",
        "&Fichier/Fichier récent=57616",
        "&Fichier/-",
        "&Fichier/&Quitter=57665",
        "Affi&chage/T&amsel réseau=32808",
        "Affi&chage/Barre d'ou&tils=59392",
        "Affi&chage/&Barre d'état=59393",
        "&Aide/&Sommaire et index=57667",
        "&Aide/-",
        "&Aide/À &propos de Tamsel de Corvane...=57664",
    };
    EXPECT_EQ(Flatten(*menu), expected);
    for (const MenuItem& popup : *menu)
        for (const MenuItem& item : popup.children) {
            if (item.id == 57616) {
                EXPECT_TRUE(item.flags & MenuItem::Grayed) << "the recent-file placeholder is disabled";
            }
            if (item.id == 32808) {
                EXPECT_FALSE(item.flags & MenuItem::Checked);
            }
        }
}

TEST(ConsoleScript, MainAcceleratorTable)
{
    const std::vector<Accelerator>* table = ResourceScript::Instance().Accelerators(128);
    ASSERT_NE(table, nullptr);
    constexpr uint32_t V = Accelerator::VirtKey, S = Accelerator::Shift, C = Accelerator::Control,
                       A = Accelerator::Alt;
    // (modifiers and VIRTKEY, key, command); NOINVERT does not matter to the program.
    using Entry = std::tuple<uint32_t, uint32_t, int>;
    const std::set<Entry> expected{
        {V | C, 'C', 57634}, {V | C, 0x2D, 57634},   // Ctrl+C, Ctrl+Insert
        {V | C, 'V', 57637}, {V | S, 0x2D, 57637},   // Ctrl+V, Shift+Insert
        {V | C, 'X', 57635}, {V | S, 0x2E, 57635},   // Ctrl+X, Shift+Delete
        {V | C, 'Z', 57643}, {V | A, 0x08, 57643},   // Ctrl+Z, Alt+Backspace
        {V, 0x70, 57670}, {V | S, 0x70, 57669},       // F1, Shift+F1
    };
    std::set<Entry> actual;
    for (const Accelerator& a : *table)
        actual.emplace(a.flags & ~uint32_t(Accelerator::NoInvert), a.key, a.command);
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(table->size(), expected.size());
}

TEST(ConsoleScript, MainToolbarAndItsPictures)
{
    const ResourceScript& script = ResourceScript::Instance();
    const afx::ToolbarResource* bar = script.Toolbar(128);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->width, 22);
    EXPECT_EQ(bar->height, 23);
    EXPECT_EQ(bar->buttons, (std::vector<int>{32785, 32798, 32772, 57601, 57603, 57670}));
    EXPECT_NE(script.BitmapFile(128), "");
    EXPECT_FALSE(script.IconFiles(128).isEmpty());
}

TEST(ConsoleScript, CountryListIs250Cp1252LinesEndedByCrLf)
{
    const std::optional<QByteArray> bytes = ResourceScript::Instance().Custom("COUNTRIES", 243);
    ASSERT_TRUE(bytes.has_value());
    ASSERT_TRUE(bytes->endsWith("\r\n"));
    EXPECT_FALSE(bytes->contains('\0'));
    QStringDecoder cp1252("windows-1252");
    ASSERT_TRUE(cp1252.isValid());
    const QString text = cp1252(*bytes);
    ASSERT_FALSE(cp1252.hasError());
    QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.takeLast(), "");
    ASSERT_EQ(lines.size(), 250);
    EXPECT_EQ(lines.first(), "Afghanistan (93)");
    EXPECT_EQ(lines.last(), "Zimbabwe (263)");
    EXPECT_TRUE(lines.contains(QString::fromUtf8("Congo, rép. dém. du (ex-Zaïre) (243)")));
    const QRegularExpression form(QStringLiteral("^[^\\r\\n]+ \\(\\d{1,4}\\)$"));
    for (const QString& line : lines)
        EXPECT_TRUE(form.match(line).hasMatch()) << line.toStdString();
}

} // namespace
