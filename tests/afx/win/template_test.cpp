// Dialogs built from templates: control order and the walks through it, ids, class names,
// dialog units, DLGINIT items, radio groups.
#include "scripts.h"

#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <algorithm>

using namespace testwin;

namespace {

class TemplateTest : public ScriptedDialogs {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Create(IDD_FORM)); }
    CDialog dialog;
};

const std::vector<int> kFormOrder = {IDC_STATIC, IDC_NAME, IDC_COUNT, IDC_CODE, IDC_STATIC, IDC_RADIO_A,
                                     IDC_STATIC, IDC_RADIO_B, IDC_RADIO_C, IDC_ACTIVE, IDC_CHOICE,
                                     IDC_LEVEL, IDOK, IDCANCEL};

TEST_F(TemplateTest, ChildrenStandInTemplateOrderBothWays)
{
    std::vector<int> forward;
    for (CWnd* child = dialog.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        forward.push_back(child->GetDlgCtrlID());
    EXPECT_EQ(forward, kFormOrder);

    std::vector<int> backward;
    for (CWnd* child = dialog.GetDlgItem(IDCANCEL); child; child = child->GetWindow(GW_HWNDPREV))
        backward.push_back(child->GetDlgCtrlID());
    EXPECT_EQ(backward, std::vector<int>(kFormOrder.rbegin(), kFormOrder.rend()));

    CWnd* name = dialog.GetDlgItem(IDC_NAME);
    EXPECT_EQ(name->GetWindow(GW_HWNDFIRST), dialog.GetWindow(GW_CHILD));
    EXPECT_EQ(name->GetWindow(GW_HWNDLAST), dialog.GetDlgItem(IDCANCEL));
    EXPECT_EQ(name->GetParent(), &dialog);
}

TEST_F(TemplateTest, OrderHoldsWhileControlsAreShownHiddenAndAdded)
{
    dialog.GetDlgItem(IDC_NAME)->ShowWindow(SW_HIDE);
    dialog.GetDlgItem(IDC_NAME)->ShowWindow(SW_SHOW);
    dialog.GetDlgItem(IDC_COUNT)->EnableWindow(FALSE);
    dialog.m_hWnd->show();
    CEdit added;
    ASSERT_TRUE(added.Create("Edit", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &dialog, 1500));
    EXPECT_EQ(dialog.GetDlgItem(IDC_STATIC)->GetWindow(GW_HWNDNEXT)->GetDlgCtrlID(), IDC_NAME);
    EXPECT_EQ(dialog.GetDlgItem(IDC_NAME)->GetWindow(GW_HWNDNEXT)->GetDlgCtrlID(), IDC_COUNT);
    EXPECT_EQ(dialog.GetDlgItem(IDCANCEL)->GetWindow(GW_HWNDNEXT), CWnd::FromHandle(added.m_hWnd));
    EXPECT_EQ(added.GetWindow(GW_HWNDNEXT), nullptr);
}

TEST_F(TemplateTest, WidgetsCarryIdsTemplateIdAndWindowClassNames)
{
    EXPECT_EQ(dialog.m_hWnd->property("templateId").toInt(), IDD_FORM);
    const struct { int id; const char* className; } cases[] = {
        {IDC_NAME, "Edit"}, {IDC_RADIO_A, "Button"}, {IDC_ACTIVE, "Button"}, {IDC_CHOICE, "ComboBox"}, {IDOK, "Button"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "control " << c.id);
        CWnd* item = dialog.GetDlgItem(c.id);
        ASSERT_NE(item, nullptr) << c.id;
        EXPECT_EQ(item->m_hWnd->property("ctrlId").toInt(), c.id);
        TCHAR name[100];
        item->GetClassName(name, 100);
        EXPECT_EQ(CString(name).CompareNoCase("COMBOBOX") == 0, c.id == IDC_CHOICE) << c.id;
        EXPECT_EQ(CString(name), CString(c.className)) << c.id;
    }
    TCHAR label[100];
    dialog.GetWindow(GW_CHILD)->GetClassName(label, 100);
    EXPECT_EQ(CString(label), CString("Static"));
    EXPECT_EQ(dialog.GetWindow(GW_CHILD)->m_hWnd->property("ctrlId").toInt(), -1);
}

TEST_F(TemplateTest, OnlyWidgetsGivenAnIdAreFoundByIt)
{
    new QWidget(dialog.m_hWnd);   // a plain child: no id, not even 0
    EXPECT_EQ(dialog.GetDlgItem(0), nullptr);
    auto* pane = new QLabel(dialog.m_hWnd);   // an id given by the property alone, as a bar's pane
    pane->setProperty("ctrlId", 1600);
    ASSERT_NE(dialog.GetDlgItem(1600), nullptr);
    EXPECT_EQ(dialog.GetDlgItem(1600)->m_hWnd, pane);
    EXPECT_EQ(dialog.GetDlgItem(1600)->GetDlgCtrlID(), 1600);
    EXPECT_EQ(dialog.GetDlgItem(IDC_STATIC), dialog.GetWindow(GW_CHILD));
}

TEST_F(TemplateTest, DialogUnitsBecomePixelsFromTheFontsBaseUnits)
{
    // "MS Sans Serif" 8 is Carlito at 11 pixels: 6 x 13 base units, as on Windows.
    EXPECT_EQ(afx::DialogBaseUnits(dialog.m_hWnd->font()), CSize(6, 13));
    EXPECT_EQ(dialog.m_hWnd->size(), QSize(300, 195));   // 200 x 120 dialog units
    // LTEXT at 7, 7, 40 x 8 and EDITTEXT at 50, 5, 100 x 12.
    EXPECT_EQ(dialog.GetWindow(GW_CHILD)->m_hWnd->geometry(), QRect(11, 11, 60, 13));
    EXPECT_EQ(Widget(&dialog, IDC_NAME)->geometry(), QRect(75, 8, 150, 20));
}

TEST_F(TemplateTest, GroupBoxLineRunsThroughTheMiddleOfItsCaption)
{
    // The fifth control is the group box "Mode" at 7, 35, 90 x 50.
    CWnd* group = dialog.GetWindow(GW_CHILD);
    for (int i = 0; i < 4; ++i)
        group = group->GetWindow(GW_HWNDNEXT);
    QWidget* box = group->m_hWnd;
    EXPECT_EQ(box->geometry(), QRect(11, 57, 135, 81));
    const QImage image = box->grab().toImage();
    const QRgb line = box->palette().color(QPalette::Dark).rgb();
    const int middle = box->fontMetrics().height() / 2 - 1;
    const int captionEnd = 8 + box->fontMetrics().horizontalAdvance(QStringLiteral("Mode"));
    auto isLine = [&](int x, int y) { return image.pixel(x, y) == line; };
    EXPECT_TRUE(isLine(0, middle + 10)) << "left edge";
    EXPECT_TRUE(isLine(captionEnd + 10, middle)) << "top line right of the caption";
    EXPECT_TRUE(isLine(3, middle)) << "top line left of the caption";
    // A gap from just before the caption to just after it.
    EXPECT_FALSE(isLine(7, middle)) << "the line runs into the caption";
    EXPECT_FALSE(isLine(captionEnd, middle)) << "the line runs out of the caption";
    for (int y = 0; y < middle; ++y)
        EXPECT_FALSE(isLine(captionEnd + 10, y)) << "a line above the caption's middle at " << y;
}

TEST_F(TemplateTest, DisabledTextStaysReadableOnAGreyPanel)
{
    // The first control is the label "&Nom :"; drawn disabled over the grey the console
    // puts behind its panels, its darkest pixel must stand out from that grey.
    CWnd* label = dialog.GetWindow(GW_CHILD);
    label->EnableWindow(FALSE);
    const QColor grey(192, 192, 192);
    QWidget* widget = label->m_hWnd;
    widget->setAutoFillBackground(true);
    QPalette background = widget->palette();
    background.setColor(QPalette::Disabled, QPalette::Window, grey);
    widget->setPalette(background);
    const QImage image = widget->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    EXPECT_LT(darkest, qGray(grey.rgb()) - 40);
}

TEST(DialogFonts, WindowsFacesBecomeInstalledFacesOfTheSameMetrics)
{
    const struct { const char* face; const char* installed; CSize baseUnits; } cases[] = {
        {"MS Sans Serif", "Carlito", {6, 13}},   {"MS Shell Dlg", "Carlito", {6, 13}},
        {"Tahoma", "Carlito", {6, 13}},          {"", "Carlito", {6, 13}},
        {"Arial", "Liberation Sans", {6, 12}},   {"Arial for Corvane", "Liberation Sans", {6, 12}},
    };
    for (const auto& c : cases) {
        const QFont font = CFont::FromFace(c.face, 11, 0, false);
        EXPECT_EQ(QFontInfo(font).family(), QString(c.installed)) << '"' << c.face << "\" is not drawn in its stand-in";
        EXPECT_EQ(afx::DialogBaseUnits(font), c.baseUnits) << '"' << c.face << '"';
    }
}

TEST(DialogBaseUnits, FollowTheFontActuallyUsed)
{
    // In a fixed-pitch font every letter has the average width.
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPixelSize(13);
    const QFontMetrics metrics(mono);
    EXPECT_EQ(afx::DialogBaseUnits(mono), CSize(qRound(metrics.horizontalAdvance(u'x') * 1.0), metrics.height()));
    // Each font is measured for itself, also once another size of its face was.
    QFont larger = mono;
    larger.setPixelSize(26);
    EXPECT_EQ(afx::DialogBaseUnits(larger), CSize(QFontMetrics(larger).horizontalAdvance(u'x'), QFontMetrics(larger).height()));
    EXPECT_EQ(afx::DialogBaseUnits(mono).cy, metrics.height());

    const struct { int dlu; int baseX; int pixels; } cases[] = {{0, 7, 0}, {1, 7, 2}, {2, 7, 4}, {4, 7, 7}, {10, 6, 15}, {3, 6, 5}};
    for (const auto& c : cases)
        EXPECT_EQ(afx::DialogUnitsToPixelsX(c.dlu, CSize(c.baseX, 13)), c.pixels) << c.dlu << " at " << c.baseX;
}

TEST_F(TemplateTest, DlgInitItemsFillTheirComboWithoutSelectingOne)
{
    auto* level = qobject_cast<QComboBox*>(Widget(&dialog, IDC_LEVEL));
    ASSERT_NE(level, nullptr);
    ASSERT_EQ(level->count(), 3);
    EXPECT_EQ(level->itemText(2), QStringLiteral("2"));
    EXPECT_EQ(level->currentIndex(), -1);
    EXPECT_EQ(qobject_cast<QComboBox*>(Widget(&dialog, IDC_CHOICE))->count(), 0);
}

TEST_F(TemplateTest, AutoRadioButtonsExcludeEachOtherWithinTheirGroupOnly)
{
    dialog.m_hWnd->show();
    auto radio = [&](int id) { return qobject_cast<QRadioButton*>(Widget(&dialog, id)); };
    dialog.CheckDlgButton(IDC_ACTIVE, BST_CHECKED);
    QTest::mouseClick(radio(IDC_RADIO_A), Qt::LeftButton);
    QTest::mouseClick(radio(IDC_RADIO_C), Qt::LeftButton);
    EXPECT_FALSE(radio(IDC_RADIO_A)->isChecked());
    EXPECT_TRUE(radio(IDC_RADIO_C)->isChecked());
    QTest::mouseClick(radio(IDC_RADIO_C), Qt::LeftButton);   // a radio never unchecks itself
    EXPECT_TRUE(radio(IDC_RADIO_C)->isChecked());
    EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_ACTIVE), UINT(BST_CHECKED));
}

TEST_F(TemplateTest, TextMnemonicMovesTheFocusToTheNextControl)
{
    auto* label = qobject_cast<QLabel*>(dialog.GetWindow(GW_CHILD)->m_hWnd);
    EXPECT_EQ(label->buddy(), Widget(&dialog, IDC_NAME));
}

TEST_F(TemplateTest, ControlsHaveTheDialogFontUntilGivenAnother)
{
    CWnd* name = dialog.GetDlgItem(IDC_NAME);
    ASSERT_NE(dialog.GetFont(), nullptr);
    EXPECT_EQ(name->GetFont(), dialog.GetFont());
    EXPECT_EQ(name->m_hWnd->font().pixelSize(), 11);

    CFont bold;
    bold.CreateFont(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial for Corvane");
    name->SendMessage(WM_SETFONT, WPARAM(HFONT(bold)), FALSE);
    EXPECT_EQ(name->GetFont(), &bold);
    EXPECT_EQ(name->m_hWnd->font().pixelSize(), 14);
    EXPECT_EQ(name->m_hWnd->font().weight(), QFont::Bold);
    EXPECT_EQ(dialog.GetDlgItem(IDC_CODE)->m_hWnd->font().pixelSize(), 11);
}

TEST_F(TemplateTest, ChildTemplateBuildsInsideItsParent)
{
    CDialog page;
    ASSERT_TRUE(page.Create(IDD_PAGE, &dialog));
    EXPECT_EQ(page.m_hWnd->parentWidget(), dialog.m_hWnd);
    EXPECT_FALSE(page.m_hWnd->isWindow());
    EXPECT_EQ(page.GetWindow(GW_CHILD)->GetDlgCtrlID(), IDC_OTHER);
    EXPECT_EQ(dialog.GetDlgItem(IDC_OTHER), nullptr);   // only direct children
}

} // namespace
