// The dial-string fields on a dialog of the test's own, worked by key presses on the real
// clipboard: the characters each takes, the billing code behind a fax number's masked suffix,
// the "FaxNum" items between fields and from other programs, and the billing-code dialog.
#include "dialogs/billingcodedlg.h"

#include "afx/core/resources.h"
#include "device/lib/dialstring.h"
#include "afx/win/testing.h"
#include "res/resource.h"
#include "support/helpers.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

using afx::testing::PromptScript;

namespace {

enum : int { TDD_FIELDS = 3200, TDC_PHONE = 3201, TDC_FAX = 3202, TDC_OTHER_FAX = 3203, TDC_CODE = 3204 };

const char* const faxNumMime = "application/x-qt-windows-mime;value=\"FaxNum\"";

QByteArray Script()
{
    return QStringLiteral(R"(
%1 DIALOGEX 0, 0, 200, 80
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION
CAPTION "Numéros"
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    EDITTEXT        %2,7,7,180,12,ES_AUTOHSCROLL
    EDITTEXT        %3,7,22,180,12,ES_AUTOHSCROLL
    EDITTEXT        %4,7,37,180,12,ES_AUTOHSCROLL
    EDITTEXT        %5,7,52,180,12,ES_AUTOHSCROLL
END
)")
        .arg(TDD_FIELDS).arg(TDC_PHONE).arg(TDC_FAX).arg(TDC_OTHER_FAX).arg(TDC_CODE)
        .toUtf8();
}

enum class Field { Phone, Fax, OtherFax, Code };

struct Press {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};
const Press backspace{Qt::Key_Backspace};
const Press del{Qt::Key_Delete};
const Press ctrlBackspace{Qt::Key_Backspace, Qt::ControlModifier};
const Press ctrlDelete{Qt::Key_Delete, Qt::ControlModifier};
const Press altBackspace{Qt::Key_Backspace, Qt::AltModifier};
const Press undo{Qt::Key_Z, Qt::ControlModifier};
const Press redo{Qt::Key_Y, Qt::ControlModifier};
const Press copy{Qt::Key_C, Qt::ControlModifier};
const Press cut{Qt::Key_X, Qt::ControlModifier};
const Press paste{Qt::Key_V, Qt::ControlModifier};

// An owner that rebuilds the fax number's stored string at each change of its text, as a
// settings page writes its section through.
class CFieldsDlg : public CDialog {
public:
    CFieldsDlg(CFaxNumberEdit& fax) : CDialog(TDD_FIELDS), fax(fax) {}
    CFaxNumberEdit& fax;
    std::vector<CString> written;

    void OnFaxChange()
    {
        CString text;
        fax.GetWindowText(text);
        written.push_back(FaxWithChargeCode(text, fax.billingCode));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFieldsDlg, CDialog)
    ON_EN_CHANGE(TDC_FAX, &CFieldsDlg::OnFaxChange)
END_MESSAGE_MAP()

// The fields of the dialog as its owner attaches them: the phone number limited to 20
// characters, the billing code to 10, the fax numbers limited by themselves.
class DialStringFields : public ::testing::Test {
protected:
    DialStringFields()
        : script(afx::ResourceScript::Parse(Script(), QByteArray(), QStringLiteral("fields.rc"))),
          previous(afx::SetDialogResources(&script))
    {
    }
    ~DialStringFields() override
    {
        dialog.DestroyWindow();
        afx::SetDialogResources(previous);
    }
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(TDD_FIELDS, nullptr));
        phone.SubclassDlgItem(TDC_PHONE, &dialog);
        fax.SubclassDlgItem(TDC_FAX, &dialog);
        otherFax.SubclassDlgItem(TDC_OTHER_FAX, &dialog);
        code.SubclassDlgItem(TDC_CODE, &dialog);
        phone.LimitText(20);
        code.LimitText(10);
        fax.UpdateLimitText();
        otherFax.UpdateLimitText();
        dialog.m_hWnd->show();
        dialog.m_hWnd->activateWindow();
        QApplication::processEvents();
    }

    CEdit& Edit(Field field)
    {
        switch (field) {
        case Field::Phone: return phone;
        case Field::Fax: return fax;
        case Field::OtherFax: return otherFax;
        default: return code;
        }
    }
    // The owner's way: the stored dial string split into the shown text and the field's code.
    void Load(CFaxNumberEdit& field, const char* stored)
    {
        CString dialString(stored);
        CDataExchange load(&dialog, FALSE);
        DDX_FaxNumber(&load, field.GetDlgCtrlID(), field, dialString);
    }
    // The field's text and selection, then the focus on it.
    void Prepare(Field field, const char* text, int start, int end)
    {
        CEdit& edit = Edit(field);
        if (field == Field::Fax || field == Field::OtherFax)
            Load(static_cast<CFaxNumberEdit&>(edit), text);
        else
            edit.SetWindowText(text);
        edit.SetFocus();
        edit.SetSel(start, end);
        dialog.written.clear();
    }
    static CString Text(CWnd& edit)
    {
        CString text;
        edit.GetWindowText(text);
        return text;
    }
    // The stored string the owner rebuilds from the fax field.
    static CString Stored(CFaxNumberEdit& field) { return FaxWithChargeCode(Text(field), field.billingCode); }
    // The same through the exchange owners use, which also trims the shown text.
    CString Exchanged(CFaxNumberEdit& field)
    {
        CString dialString;
        CDataExchange save(&dialog, TRUE);
        DDX_FaxNumber(&save, field.GetDlgCtrlID(), field, dialString);
        return dialString;
    }

    static void Press(CWnd& edit, const ::Press& press) { QTest::keyClick(edit.m_hWnd, press.key, press.modifiers); }

    // What the owner wrote last since the field was prepared is the field's stored string.
    void ExpectOwnerWroteTheStoredString()
    {
        if (!dialog.written.empty()) {
            EXPECT_EQ(dialog.written.back(), Stored(fax));
        }
    }

    afx::ResourceScript script;
    CPhoneNumberEdit phone;
    CFaxNumberEdit fax;
    CFaxNumberEdit otherFax;
    CBillingCodeEdit code;
    CFieldsDlg dialog{fax};

private:
    const afx::ResourceScript* previous;
};

// ---- Characters ----

struct TypingCase {
    const char* name;
    Field field;
    const char* before;          // a fax field's stored string, with its code after "$"
    int start, end;              // selection
    const char* typed;           // characters typed, then the presses
    std::vector<Press> presses;
    const char* after;           // text shown after; for a fax field, the stored string
    UINT message;                // the refusal shown, 0 for none
};

void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name; }

class DialStringTyping : public DialStringFields, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(DialStringTyping, TakesOnlyItsCharacters)
{
    const TypingCase& c = GetParam();
    Prepare(c.field, c.before, c.start, c.end);
    PromptScript prompts;
    if (c.message)
        prompts.MessageBox(IDOK, LoadText(c.message));
    CEdit& edit = Edit(c.field);
    QTest::keyClicks(edit.m_hWnd, QString::fromUtf8(c.typed));
    for (const ::Press& press : c.presses)
        Press(edit, press);
    if (c.field == Field::Fax)
        EXPECT_EQ(Stored(fax), CString(c.after));
    else
        EXPECT_EQ(Text(edit), CString(c.after));
    ExpectOwnerWroteTheStoredString();
    if (c.message) {
        ASSERT_EQ(prompts.Shown().size(), 1u);
        EXPECT_EQ(prompts.Shown()[0].type, UINT(MB_OK | MB_ICONERROR));
        EXPECT_EQ(QApplication::focusWidget(), edit.m_hWnd);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, DialStringTyping, ::testing::Values(
    // The line's own number: digits, hyphens, one "+" in first place.
    TypingCase{"phone_digits_and_hyphens", Field::Phone, "", 0, 0, "01-45", {}, "01-45", 0},
    TypingCase{"phone_plus_first", Field::Phone, "", 0, 0, "+33", {}, "+33", 0},
    TypingCase{"phone_digit_before_plus", Field::Phone, "+12", 0, 0, "5", {}, "+12", IDP_INVALID_PHONE_CHARACTERS},
    TypingCase{"phone_plus_over_selected_plus", Field::Phone, "+12", 0, 1, "+", {}, "+12", 0},
    TypingCase{"phone_digit_over_selected_plus", Field::Phone, "+12", 0, 1, "4", {}, "412", 0},
    TypingCase{"phone_plus_not_first", Field::Phone, "+12", 2, 2, "+", {}, "+12", IDP_INVALID_PHONE_CHARACTERS},
    TypingCase{"phone_second_plus_first", Field::Phone, "+12", 0, 0, "+", {}, "+12", IDP_INVALID_PHONE_CHARACTERS},
    TypingCase{"phone_letter", Field::Phone, "12", 2, 2, "a", {}, "12", IDP_INVALID_PHONE_CHARACTERS},
    TypingCase{"phone_space", Field::Phone, "12", 2, 2, " ", {}, "12", IDP_INVALID_PHONE_CHARACTERS},
    TypingCase{"phone_backspace", Field::Phone, "123", 3, 3, "", {backspace}, "12", 0},
    TypingCase{"phone_no_undo", Field::Phone, "", 0, 0, "12", {undo, redo}, "12", 0},
    TypingCase{"phone_copy_never_refused", Field::Phone, "12", 0, 2, "", {copy}, "12", 0},
    // Fax numbers: their set, and the masked suffix of the code.
    TypingCase{"fax_whole_set", Field::Fax, "", 0, 0, " #*,0123456789", {}, " #*,0123456789", 0},
    TypingCase{"fax_letter", Field::Fax, "0140", 4, 4, "a", {}, "0140", IDP_INVALID_FAX_CHARACTERS},
    TypingCase{"fax_plus", Field::Fax, "0140", 0, 0, "+", {}, "0140", IDP_INVALID_FAX_CHARACTERS},
    TypingCase{"fax_hyphen", Field::Fax, "0140", 4, 4, "-", {}, "0140", IDP_INVALID_FAX_CHARACTERS},
    TypingCase{"fax_digit_at_end_behind_code", Field::Fax, "0140$12", 7, 7, "5", {}, "0140$12", 0},
    TypingCase{"fax_letter_inside_suffix_dropped_silently", Field::Fax, "0140$12", 5, 5, "a", {}, "0140$12", 0},
    TypingCase{"fax_digit_before_suffix", Field::Fax, "0140$12", 4, 4, "5", {}, "01405$12", 0},
    TypingCase{"fax_backspace_inside_suffix", Field::Fax, "0140$12", 6, 6, "", {backspace}, "0140$12", 0},
    TypingCase{"fax_backspace_at_suffix_start", Field::Fax, "0140$12", 4, 4, "", {backspace}, "014$12", 0},
    TypingCase{"fax_delete_in_front_of_suffix", Field::Fax, "0140$12", 4, 4, "", {del}, "0140$12", 0},
    TypingCase{"fax_delete_at_end_without_code", Field::Fax, "0140", 4, 4, "", {del}, "0140", 0},
    TypingCase{"fax_delete_in_number", Field::Fax, "0140$12", 0, 0, "", {del}, "140$12", 0},
    TypingCase{"fax_delete_selection_into_suffix", Field::Fax, "0140$12", 2, 5, "", {del}, "0140$12", 0},
    TypingCase{"fax_overtype_covering_code", Field::Fax, "0140$12", 4, 7, "9", {}, "01409", 0},
    TypingCase{"fax_overtype_from_before_suffix", Field::Fax, "0140$12", 2, 7, "9", {}, "019", 0},
    TypingCase{"fax_backspace_covering_code", Field::Fax, "0140$12", 4, 7, "", {backspace}, "0140", 0},
    TypingCase{"fax_delete_covering_code", Field::Fax, "0140$12", 0, 7, "", {del}, "", 0},
    TypingCase{"fax_letter_covering_code", Field::Fax, "0140$12", 4, 7, "x", {}, "0140$12", IDP_INVALID_FAX_CHARACTERS},
    // Word deletions and the toolkit's undo would reach past the suffix's protection.
    TypingCase{"fax_ctrl_backspace_over_all", Field::Fax, "01 40$12", 0, 8, "", {ctrlBackspace}, "01 40$12", 0},
    TypingCase{"fax_ctrl_delete_before_suffix", Field::Fax, "01 40$12", 3, 3, "", {ctrlDelete}, "01 40$12", 0},
    TypingCase{"fax_alt_backspace_after_overtype", Field::Fax, "0140$12", 4, 7, "9", {altBackspace}, "01409", 0},
    TypingCase{"fax_undo_after_overtype", Field::Fax, "0140$12", 4, 7, "9", {undo}, "01409", 0},
    TypingCase{"fax_undo_after_delete", Field::Fax, "0140$12", 4, 7, "", {del, undo, redo}, "0140", 0},
    TypingCase{"fax_copy_never_refused", Field::Fax, "0140$12", 0, 7, "", {copy}, "0140$12", 0},
    // Billing codes.
    TypingCase{"code_whole_set", Field::Code, "", 0, 0, "#*0123456789", {}, "#*01234567", 0},
    TypingCase{"code_comma", Field::Code, "12", 2, 2, ",", {}, "12", IDP_INVALID_BILLING_CHARACTERS},
    TypingCase{"code_space", Field::Code, "12", 2, 2, " ", {}, "12", IDP_INVALID_BILLING_CHARACTERS},
    TypingCase{"code_backspace", Field::Code, "12", 2, 2, "", {backspace}, "1", 0},
    TypingCase{"code_no_undo", Field::Code, "", 0, 0, "12", {undo}, "12", 0},
    TypingCase{"code_copy_never_refused", Field::Code, "12", 0, 2, "", {copy}, "12", 0}),
    RowName);

TEST_F(DialStringFields, CopyPutsTheShownTextWithItsMask)
{
    Prepare(Field::Fax, "0140$12", 0, -1);
    Press(fax, copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("0140$$$"));
}

// ---- The "FaxNum" clipboard ----

// What the clipboard holds before the presses.
struct Clip {
    const char* text = nullptr;            // plain text
    std::optional<QByteArray> faxNum;      // the "FaxNum" item's bytes
};
Clip PlainText(const char* text) { return {text, std::nullopt}; }
Clip FaxNumItem(QByteArray bytes) { return {nullptr, std::move(bytes)}; }

struct ClipboardCase {
    const char* name;
    Field field;
    QByteArray before;      // for a fax field its stored string
    int start, end;
    Clip clip;
    ::Press press;          // cut or paste
    QByteArray after;       // for a fax field its stored string
    Clip clipAfter;         // what the clipboard holds after
};

void PrintTo(const ClipboardCase& c, std::ostream* os) { *os << c.name; }

class DialStringClipboard : public DialStringFields, public ::testing::WithParamInterface<ClipboardCase> {};

void PutOnClipboard(const Clip& clip)
{
    auto* item = new QMimeData;
    if (clip.text)
        item->setText(QString::fromUtf8(clip.text));
    if (clip.faxNum)
        item->setData(QString::fromLatin1(faxNumMime), *clip.faxNum);
    QGuiApplication::clipboard()->setMimeData(item);
}

TEST_P(DialStringClipboard, CutsAndPastesDialStrings)
{
    const ClipboardCase& c = GetParam();
    PutOnClipboard(c.clip);
    Prepare(c.field, c.before.constData(), c.start, c.end);
    CEdit& edit = Edit(c.field);
    Press(edit, c.press);
    const CString after = QString::fromLatin1(c.after);
    if (c.field == Field::Fax)
        EXPECT_EQ(Stored(fax), after);
    else
        EXPECT_EQ(Text(edit), after);
    ExpectOwnerWroteTheStoredString();
    const QMimeData* held = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(held, nullptr);
    QStringList formats;
    if (c.clipAfter.text)
        formats << QStringLiteral("text/plain");
    if (c.clipAfter.faxNum)
        formats << QString::fromLatin1(faxNumMime);
    EXPECT_EQ(held->formats(), formats);
    if (c.clipAfter.text) {
        EXPECT_EQ(held->text(), QString::fromUtf8(c.clipAfter.text));
    }
    if (c.clipAfter.faxNum) {
        EXPECT_EQ(held->data(QString::fromLatin1(faxNumMime)), *c.clipAfter.faxNum);
    }
}

const QByteArray item0140 = QByteArray("0140$12\0", 8);

INSTANTIATE_TEST_SUITE_P(Rows, DialStringClipboard, ::testing::Values(
    // Cuts.
    ClipboardCase{"fax_cut_whole_field", Field::Fax, "0140$12", 0, 7, PlainText("x"), cut, "", FaxNumItem(item0140)},
    ClipboardCase{"fax_cut_from_suffix_start", Field::Fax, "0140$12", 4, 7, PlainText("x"), cut, "0140", FaxNumItem(QByteArray("$12\0", 4))},
    ClipboardCase{"fax_cut_number_only_is_plain", Field::Fax, "0140$12", 0, 2, PlainText("x"), cut, "40$12", PlainText("01")},
    ClipboardCase{"fax_cut_into_suffix", Field::Fax, "0140$12", 2, 5, PlainText("x"), cut, "0140$12", PlainText("x")},
    ClipboardCase{"fax_cut_without_code_is_plain", Field::Fax, "0140", 0, 4, PlainText("x"), cut, "", PlainText("0140")},
    ClipboardCase{"code_cut", Field::Code, "12#", 0, 3, PlainText("x"), cut, "", FaxNumItem(QByteArray("$12#\0", 5))},
    ClipboardCase{"code_cut_nothing_selected", Field::Code, "12#", 3, 3, PlainText("x"), cut, "12#", PlainText("x")},
    // Pastes of an item into fax numbers.
    ClipboardCase{"fax_paste_into_empty_field", Field::Fax, "", 0, 0, FaxNumItem(item0140), paste, "0140$12", FaxNumItem(item0140)},
    ClipboardCase{"fax_paste_in_the_middle", Field::Fax, "5566", 2, 2, FaxNumItem(item0140), paste, "5566", FaxNumItem(item0140)},
    ClipboardCase{"fax_paste_at_end_of_number", Field::Fax, "55", 2, 2, FaxNumItem(item0140), paste, "550140$12", FaxNumItem(item0140)},
    ClipboardCase{"fax_paste_at_end_behind_code", Field::Fax, "55$9", 4, 4, FaxNumItem(item0140), paste, "55$9", FaxNumItem(item0140)},
    ClipboardCase{"fax_paste_over_code", Field::Fax, "99$1", 2, 4, FaxNumItem(item0140), paste, "990140$12", FaxNumItem(item0140)},
    ClipboardCase{"fax_paste_item_without_code", Field::Fax, "", 0, 0, FaxNumItem("0140"), paste, "0140", FaxNumItem("0140")},
    ClipboardCase{"fax_paste_item_without_nul", Field::Fax, "", 0, 0, FaxNumItem("0140$12"), paste, "0140$12", FaxNumItem("0140$12")},
    ClipboardCase{"fax_paste_item_ends_at_its_nul", Field::Fax, "", 0, 0, FaxNumItem(QByteArray("01$2\0abc", 8)), paste, "01$2", FaxNumItem(QByteArray("01$2\0abc", 8))},
    // Items another program made.
    ClipboardCase{"fax_hostile_letters_in_number", Field::Fax, "", 0, 0, FaxNumItem("01a0$12"), paste, "", FaxNumItem("01a0$12")},
    ClipboardCase{"fax_hostile_letters_in_code", Field::Fax, "", 0, 0, FaxNumItem("0140$1x"), paste, "", FaxNumItem("0140$1x")},
    ClipboardCase{"fax_hostile_plus", Field::Fax, "", 0, 0, FaxNumItem("+3314$1"), paste, "", FaxNumItem("+3314$1")},
    ClipboardCase{"fax_hostile_accent", Field::Fax, "", 0, 0, FaxNumItem("01\xe9$1"), paste, "", FaxNumItem("01\xe9$1")},
    ClipboardCase{"fax_hostile_mask_after_code", Field::Fax, "", 0, 0, FaxNumItem("0$1$2"), paste, "", FaxNumItem("0$1$2")},
    ClipboardCase{"fax_hostile_10000_digits", Field::Fax, "", 0, 0, FaxNumItem(QByteArray(10000, '1')), paste, "", FaxNumItem(QByteArray(10000, '1'))},
    ClipboardCase{"fax_hostile_10000_code", Field::Fax, "", 0, 0, FaxNumItem("0$" + QByteArray(10000, '1')), paste, "", FaxNumItem("0$" + QByteArray(10000, '1'))},
    ClipboardCase{"fax_longest_that_fits", Field::Fax, "", 0, 0, FaxNumItem(QByteArray(125, '1') + "$12"), paste, QByteArray(125, '1') + "$12", FaxNumItem(QByteArray(125, '1') + "$12")},
    ClipboardCase{"fax_one_too_long", Field::Fax, "", 0, 0, FaxNumItem(QByteArray(126, '1') + "$12"), paste, "", FaxNumItem(QByteArray(126, '1') + "$12")},
    ClipboardCase{"fax_with_spaces_that_fits", Field::Fax, "", 0, 0, FaxNumItem("  " + QByteArray(121, '1') + "$12"), paste, "  " + QByteArray(121, '1') + "$12", FaxNumItem("  " + QByteArray(121, '1') + "$12")},
    ClipboardCase{"fax_with_spaces_too_long", Field::Fax, "", 0, 0, FaxNumItem("  " + QByteArray(122, '1') + "$12"), paste, "", FaxNumItem("  " + QByteArray(122, '1') + "$12")},
    ClipboardCase{"fax_too_long_for_the_number_there", Field::Fax, "55", 2, 2, FaxNumItem(QByteArray(124, '1') + "$12"), paste, "55", FaxNumItem(QByteArray(124, '1') + "$12")},
    // Plain text into fax numbers.
    ClipboardCase{"fax_plain_paste", Field::Fax, "0140", 4, 4, PlainText("5 6"), paste, "01405 6", PlainText("5 6")},
    ClipboardCase{"fax_plain_paste_before_suffix", Field::Fax, "0140$12", 4, 4, PlainText("5"), paste, "01405$12", PlainText("5")},
    ClipboardCase{"fax_plain_paste_into_suffix", Field::Fax, "0140$12", 3, 5, PlainText("5"), paste, "0140$12", PlainText("5")},
    ClipboardCase{"fax_plain_paste_letters", Field::Fax, "0140", 4, 4, PlainText("5a"), paste, "0140", PlainText("5a")},
    ClipboardCase{"fax_plain_paste_mask", Field::Fax, "0140", 4, 4, PlainText("$$"), paste, "0140", PlainText("$$")},
    // Billing codes take only an item's code.
    ClipboardCase{"code_paste_item", Field::Code, "", 0, 0, FaxNumItem(item0140), paste, "12", FaxNumItem(item0140)},
    ClipboardCase{"code_paste_item_over_selection", Field::Code, "9876", 1, 3, FaxNumItem(item0140), paste, "9126", FaxNumItem(item0140)},
    ClipboardCase{"code_plain_paste", Field::Code, "", 0, 0, PlainText("12"), paste, "", PlainText("12")},
    ClipboardCase{"code_paste_item_without_code", Field::Code, "45", 0, 2, FaxNumItem("0140"), paste, "45", FaxNumItem("0140")},
    ClipboardCase{"code_hostile_letters", Field::Code, "", 0, 0, FaxNumItem("0140$1x"), paste, "", FaxNumItem("0140$1x")},
    ClipboardCase{"code_hostile_10000_code", Field::Code, "", 0, 0, FaxNumItem("$" + QByteArray(10000, '1')), paste, "", FaxNumItem("$" + QByteArray(10000, '1'))},
    ClipboardCase{"code_longer_than_room", Field::Code, "123456789", 9, 9, FaxNumItem("0$12"), paste, "123456789", FaxNumItem("0$12")},
    // The line's own number: a paste follows the rules of typing.
    ClipboardCase{"phone_paste_plus_at_start", Field::Phone, "", 0, 0, PlainText("+123"), paste, "+123", PlainText("+123")},
    ClipboardCase{"phone_paste_plus_not_at_start", Field::Phone, "5", 1, 1, PlainText("+123"), paste, "5", PlainText("+123")},
    ClipboardCase{"phone_paste_letter", Field::Phone, "", 0, 0, PlainText("12a"), paste, "", PlainText("12a")},
    ClipboardCase{"phone_paste_digits_before_plus", Field::Phone, "+33", 0, 0, PlainText("12"), paste, "+33", PlainText("12")},
    ClipboardCase{"phone_paste_plus_before_plus", Field::Phone, "+33", 0, 0, PlainText("+4"), paste, "+33", PlainText("+4")},
    ClipboardCase{"phone_paste_plus_over_plus", Field::Phone, "+33", 0, 1, PlainText("+4"), paste, "+433", PlainText("+4")},
    ClipboardCase{"phone_paste_digits_over_plus", Field::Phone, "+33", 0, 1, PlainText("12"), paste, "1233", PlainText("12")},
    ClipboardCase{"phone_paste_item_only", Field::Phone, "", 0, 0, FaxNumItem(item0140), paste, "", FaxNumItem(item0140)}),
    RowName);

TEST_F(DialStringFields, ACutItemPastesIntoAnotherFaxNumberAndABillingCode)
{
    Prepare(Field::Fax, "01 40$#12", 0, -1);
    Press(fax, cut);
    EXPECT_EQ(Text(fax), CString());
    EXPECT_EQ(fax.billingCode, CString());

    Prepare(Field::OtherFax, "", 0, 0);
    Press(otherFax, paste);
    EXPECT_EQ(Text(otherFax), CString("01 40$$$$"));
    EXPECT_EQ(otherFax.billingCode, CString("#12"));

    Prepare(Field::Code, "", 0, 0);
    Press(code, paste);
    EXPECT_EQ(Text(code), CString("#12"));
}

TEST_F(DialStringFields, TheExchangeStoresThePastedCodeNeverTheMask)
{
    Prepare(Field::OtherFax, " 0999$77", 0, -1);
    EXPECT_EQ(Text(otherFax), CString(" 0999$$$"));
    Press(otherFax, cut);

    Prepare(Field::Fax, "0140$12", 0, -1);
    Press(fax, paste);
    EXPECT_EQ(Text(fax), CString(" 0999$$$"));
    EXPECT_EQ(Exchanged(fax), CString("0999$77"));

    // Blanks around the shown number are not stored; the code stays with it.
    fax.SetSel(0, 0);
    QTest::keyClicks(fax.m_hWnd, "  ");
    EXPECT_EQ(Exchanged(fax), CString("0999$77"));
}

TEST_F(DialStringFields, TheContextMenuDeletesAsTheDeleteKeyAndNeverUndoes)
{
    struct Case {
        const char* name;
        const char* before;
        int start, end;
        const char* after;
    };
    const Case cases[] = {
        {"covering the code", "0140$12", 4, 7, "0140"},
        {"into the suffix", "0140$12", 2, 5, "0140$12"},
        {"inside the suffix", "0140$12", 5, 7, "0140$12"},
        {"in the number", "0140$12", 0, 2, "40$12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare(Field::Fax, c.before, c.start, c.end);
        std::unique_ptr<QMenu> menu(afx::EditContextMenu(&fax));
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1String("edit-delete"))
                action->trigger();
        }
        EXPECT_EQ(Stored(fax), CString(c.after));
        ExpectOwnerWroteTheStoredString();
        std::unique_ptr<QMenu> after(afx::EditContextMenu(&fax));
        for (QAction* action : after->actions()) {
            if (action->objectName() == QLatin1String("edit-undo")) {
                EXPECT_FALSE(action->isEnabled());
            }
        }
    }
}

// ---- The fax number's limit ----

TEST_F(DialStringFields, TheLimitLeavesOutSpacesAndOnePlus)
{
    struct Case {
        const char* text;
        UINT limit;
    };
    const Case cases[] = {{"+33 1 40", 125}, {"0140", 128}, {"", 128}, {"01 40", 127}, {"+33", 127}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Load(fax, c.text);
        EXPECT_EQ(fax.GetLimitText(), c.limit);
    }
    // Typing keeps it up to date: a space takes the room of two digits.
    Prepare(Field::Fax, "", 0, 0);
    QTest::keyClicks(fax.m_hWnd, QString(125, u'1') + " 2345");
    EXPECT_EQ(Text(fax), CString(QString(125, u'1') + " 2"));
    EXPECT_EQ(fax.GetLimitText(), 127u);
}

// ---- The billing-code dialog ----

struct DialogCase {
    const char* name;
    const char* code;        // the field's code
    int maxLength;
    std::function<void(CDialog&)> work;
    INT_PTR result;
    const char* codeAfter;
};

TEST(BillingCodeDlgTest, EditsTheCodeWithinItsLimit)
{
    auto typeThen = [](const char* typed, int button) {
        return [typed, button](CDialog& dialog) {
            CWnd* edit = dialog.GetDlgItem(IDC_BILLING_CODE);
            edit->SetFocus();
            static_cast<CEdit*>(edit)->SetSel(0, -1);
            QTest::keyClick(edit->m_hWnd, Qt::Key_Backspace);
            QTest::keyClicks(edit->m_hWnd, QString::fromLatin1(typed));
            Click(dialog, button);
        };
    };
    const DialogCase cases[] = {
        {"five at most", "", 5, typeThen("1234567", IDOK), IDOK, "12345"},
        {"empty code accepted", "12", 5, typeThen("", IDOK), IDOK, ""},
        {"the set", "", 20, typeThen("#*0123456789", IDOK), IDOK, "#*0123456789"},
        {"cancelled", "12", 5, typeThen("99", IDCANCEL), IDCANCEL, "12"},
        {"shows the code it was given",
         "#12", 5,
         [](CDialog& dialog) {
             CString shown;
             dialog.GetDlgItemText(IDC_BILLING_CODE, shown);
             EXPECT_EQ(shown, CString("#12"));
             Click(dialog, IDOK);
         },
         IDOK, "#12"},
    };
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.name);
        CBillingCodeDlg dialog(c.code, c.maxLength, nullptr);
        PromptScript prompts;
        prompts.Dialog(IDD_BILLING_CODE, c.work);
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(dialog.billingCode, CString(c.result == IDOK ? c.codeAfter : c.code));
    }
}

TEST(BillingCodeDlgTest, RefusesOtherCharactersAndOpensItsHelp)
{
    CBillingCodeDlg dialog("", 5, nullptr);
    PromptScript prompts;
    prompts.Dialog(IDD_BILLING_CODE, [&prompts](CDialog& live) {
        CWnd* edit = live.GetDlgItem(IDC_BILLING_CODE);
        edit->SetFocus();
        prompts.MessageBox(IDOK, LoadText(IDP_INVALID_BILLING_CHARACTERS)).Help(0x200C0);
        QTest::keyClicks(edit->m_hWnd, "1a");
        Click(live, IDHELP);
        Click(live, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.billingCode, CString("1"));
}

// The code button's dialog on a fax number: limited to the room left, its code then behind
// the field's mask.
TEST_F(DialStringFields, TheBillingCodeDialogFillsTheRoomLeftInTheNumber)
{
    struct Case {
        const char* name;
        QByteArray stored;
        int maxLength;       // 0: no room, no dialog
        const char* typed;
        QByteArray after;
    };
    const Case cases[] = {
        {"new code", "0140", 122, "55", "0140$55"},
        {"code replaced", "0140$12", 122, "9", "0140$9"},
        {"code removed", "0140$12", 122, "", "0140"},
        {"room for one", QByteArray(125, '1'), 1, "12", QByteArray(125, '1') + "$1"},
        {"no room left", QByteArray(126, '1'), 0, "", QByteArray(126, '1')},
        {"spaces take room too", QByteArray(126, '1') + "  ", 0, "", QByteArray(126, '1') + "  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(fax, c.stored);
        PromptScript prompts;
        if (c.maxLength) {
            prompts.Dialog(IDD_BILLING_CODE, [&c](CDialog& live) {
                auto* edit = static_cast<CEdit*>(live.GetDlgItem(IDC_BILLING_CODE));
                EXPECT_EQ(edit->GetLimitText(), UINT(c.maxLength));
                edit->SetFocus();
                edit->SetSel(0, -1);
                QTest::keyClick(edit->m_hWnd, Qt::Key_Backspace);
                QTest::keyClicks(edit->m_hWnd, QString::fromLatin1(c.typed));
                Click(live, IDOK);
            });
        }
        dialog.written.clear();
        EXPECT_EQ(EditBillingCode(fax, &dialog), BOOL(c.maxLength != 0));
        EXPECT_EQ(Stored(fax), CString(QString::fromLatin1(c.after)));
        ExpectOwnerWroteTheStoredString();
        EXPECT_EQ(QApplication::focusWidget(), fax.m_hWnd);
    }
}

TEST_F(DialStringFields, F1InTheBillingCodeDialogShowsItsHelp)
{
    Load(fax, "0140");
    PromptScript prompts;
    prompts.Dialog(IDD_BILLING_CODE, [&prompts](CDialog& live) {
        prompts.Help(0x200C0);
        QTest::keyClick(live.GetDlgItem(IDC_BILLING_CODE)->m_hWnd, Qt::Key_F1);
        QApplication::processEvents();
        Click(live, IDCANCEL);
    });
    EXPECT_FALSE(EditBillingCode(fax, &dialog));
    EXPECT_EQ(Stored(fax), CString("0140"));
}

} // namespace
