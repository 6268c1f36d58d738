// The names assistive technologies read: controls named by their template's labels, a page by
// its caption, a window by its title.
#include "scripts.h"

#include "afx/core/resources.h"
#include "afx/win/accessiblenames.h"

#include <QAccessible>

using namespace testwin;

namespace {

const QByteArray kLabelledScript = R"(
IDD_FORM DIALOGEX 0, 0, 200, 120
STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION
CAPTION "Fiche"
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    LTEXT           "&Nom && prénom :",IDC_STATIC,7,7,40,8
    EDITTEXT        IDC_NAME,50,5,60,12,ES_AUTOHSCROLL
    CONTROL         "",IDC_COUNT,"msctls_updown32",0x36,110,5,10,12
    LTEXT           "Code :",IDC_STATIC,7,22,40,8
    CONTROL         "",IDC_STATIC,"Static",SS_ETCHEDHORZ,7,32,180,1
    EDITTEXT        IDC_CODE,50,20,60,12
    LTEXT           "100 % & plus",IDC_STATIC,7,37,40,8,SS_NOPREFIX
    EDITTEXT        IDC_OTHER,50,35,60,12
    GROUPBOX        "&Choix",IDC_STATIC,5,50,150,40
    AUTOCHECKBOX    "&Actif",IDC_ACTIVE,7,60,50,10
    COMBOBOX        IDC_CHOICE,60,60,80,50,CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP
    GROUPBOX        "",IDC_STATIC,5,92,150,20
    COMBOBOX        IDC_LEVEL,60,95,80,50,CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP
    DEFPUSHBUTTON   "OK",IDOK,86,99,50,14
END

IDD_SIZABLE DIALOGEX 0, 0, 120, 40
STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    DEFPUSHBUTTON   "OK",IDOK,70,5,40,14
    EDITTEXT        IDC_OTHER,5,5,60,30,ES_MULTILINE | ES_READONLY
END

IDD_PAGE DIALOGEX 0, 0, 120, 40
STYLE DS_SETFONT | WS_CHILD
CAPTION "&Options && plus"
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    EDITTEXT        IDC_OTHER,5,5,100,12,ES_AUTOHSCROLL
END
)";

QString NameOf(QWidget* widget)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QStringLiteral("(none)");
}

class AccessibleNamesTest : public ::testing::Test {
protected:
    AccessibleNamesTest() : previous(afx::SetDialogResources(&script)) {}
    ~AccessibleNamesTest() override { afx::SetDialogResources(previous); }

    afx::ResourceScript script = afx::ResourceScript::Parse(kLabelledScript, kHeader, QStringLiteral("labels.rc"));

private:
    const afx::ResourceScript* previous;
};

TEST_F(AccessibleNamesTest, ControlsAreNamedByTheirLabels)
{
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_FORM));
    struct Case {
        const char* what;
        int id;
        QString name;
    };
    const Case cases[] = {
        {"edit after its label, mnemonic gone and && one &", IDC_NAME, "Nom & prénom :"},
        {"spin sharing its edit's label", IDC_COUNT, "Nom & prénom :"},
        {"label reaching across a frame", IDC_CODE, "Code :"},
        {"label that shows its & as it is", IDC_OTHER, "100 % & plus"},
        {"check box named by its own text", IDC_ACTIVE, "Actif"},
        {"combo box in a group, after a check box", IDC_CHOICE, "Choix"},
        {"untitled group box labels nothing", IDC_LEVEL, "Choix"},
        {"push button", IDOK, "OK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CWnd* control = dialog.GetDlgItem(c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(NameOf(control->m_hWnd), c.name);
    }
    EXPECT_EQ(NameOf(dialog.m_hWnd), "Fiche");
    // A window's title that changes is what is read out.
    dialog.SetWindowText("Fiche de Anne");
    EXPECT_EQ(NameOf(dialog.m_hWnd), "Fiche de Anne");
    dialog.DestroyWindow();
}

TEST_F(AccessibleNamesTest, ControlBeforeAnyLabelFollowsTheWindowsTitle)
{
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_SIZABLE));
    CWnd* message = dialog.GetDlgItem(IDC_OTHER);
    EXPECT_EQ(NameOf(message->m_hWnd), "");
    dialog.SetWindowText("Brevia & Cie");
    EXPECT_EQ(NameOf(message->m_hWnd), "Brevia & Cie");
    dialog.DestroyWindow();
}

TEST_F(AccessibleNamesTest, PageIsNamedByItsCaption)
{
    CDialog owner;
    ASSERT_TRUE(owner.Create(IDD_FORM));
    CDialog page;
    ASSERT_TRUE(page.Create(IDD_PAGE, &owner));
    EXPECT_EQ(NameOf(page.m_hWnd), "Options & plus");
    // The edit comes before any label: it is what the page is about.
    EXPECT_EQ(NameOf(page.GetDlgItem(IDC_OTHER)->m_hWnd), "Options & plus");
    page.DestroyWindow();
    owner.DestroyWindow();
}

TEST(WithoutMnemonics, DropsTheMarksKeepsTheDoubledOnes)
{
    const std::pair<QString, QString> cases[] = {
        {"&Ouvrir", "Ouvrir"}, {"Noir && blanc", "Noir & blanc"}, {"&&&Fin", "&Fin"},
        {"fin&", "fin"}, {"", ""}, {"Sans marque", "Sans marque"},
    };
    for (const auto& [text, plain] : cases)
        EXPECT_EQ(afx::WithoutMnemonics(text), plain) << text.toStdString();
}

} // namespace
