// What only a real X display has, under an X server and a window manager of the test's own
// (x11/under-x.sh): the X selection a middle click pastes, the window manager's placement of
// the main window, and what it is told of a window's title-bar buttons and a box's caption.
#include "console/settingspage_fixture.h"

#include "device/waitdlg.h"
#include "pages/machinepage.h"
#include "pages/phonelinepage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

Display* XDisplay()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// The names in a window's property of atoms, as the window manager set them.
QStringList AtomProperty(QWidget* window, const char* property)
{
    Display* display = XDisplay();
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QStringList names;
    if (XGetWindowProperty(display, Window(window->winId()), XInternAtom(display, property, False), 0, 64, False,
                           XA_ATOM, &type, &format, &count, &after, &data) != Success || !data)
        return names;
    const auto* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) {
        char* name = XGetAtomName(display, atoms[i]);
        names << QString::fromLatin1(name);
        XFree(name);
    }
    XFree(data);
    return names;
}

// The platform this program needs: under-x.sh gives it.
void ExpectRealDisplay()
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run it under tests/x11/under-x.sh";
    ASSERT_NE(XDisplay(), nullptr);
}

template <class Page>
class PageUnderX : public pagetest::PageOnShow<Page> {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ExpectRealDisplay());
        pagetest::PageOnShow<Page>::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowActive(this->Frame()->m_hWnd));
    }

    // The X selection's text, middle-clicked at the end of the field's text.
    void MiddleClick(int id, const QString& selection)
    {
        QGuiApplication::clipboard()->setText(selection, QClipboard::Selection);
        ASSERT_EQ(QGuiApplication::clipboard()->text(QClipboard::Selection), selection);
        QWidget* field = this->Control(id)->m_hWnd;
        const QPoint end(field->width() - 3, field->height() / 2);
        QTest::mouseClick(field, Qt::MiddleButton, {}, end);
    }
};

struct PasteCase {
    const char* name;
    int control;
    QString before;
    QString selection;
    QString after;
};

// The middle click meets the checks typing meets: the digits-only style, the length limit,
// the first line only; a refused paste leaves the field and the record untouched.
using MachinePageUnderX = PageUnderX<CMachinePage>;

TEST_F(MachinePageUnderX, AMiddleClickPastesOnlyWhatTypingWouldEnter)
{
    const PasteCase cases[] = {
        {"letters into the minutes", IDC_SUPER_SAVER_MINUTES, "15", "abc", "15"},
        {"a digit past the minutes' two", IDC_SUPER_SAVER_MINUTES, "15", "3", "15"},
        {"a name past its 40 characters", IDC_COMPANY_NAME, "Agence", QString(50, u'x'), "Agence" + QString(34, u'x')},
        {"two lines into a name", IDC_COMPANY_NAME, "Agence", "Nord\nSud", "AgenceNord"},
    };
    for (const PasteCase& c : cases) {
        SCOPED_TRACE(c.name);
        Document()->config.machine.superSaverMode = 0;
        Document()->config.machine.superSaverMinutes = 15;
        Document()->config.machine.companyName = c.before;
        Reload();
        Document()->SetModifiedFlag(FALSE);
        MiddleClick(c.control, c.selection);
        EXPECT_EQ(qobject_cast<QLineEdit*>(Control(c.control)->m_hWnd)->text(), c.after);
        EXPECT_EQ(Document()->IsModified(), c.after != c.before);
        EXPECT_EQ(Document()->config.machine.superSaverMinutes, 15u);
    }
}

using PhoneLinePageUnderX = PageUnderX<CPhoneLinePage>;

TEST_F(PhoneLinePageUnderX, AMiddleClickIntoTheLineNumberFollowsItsRules)
{
    const PasteCase cases[] = {
        {"letters", IDC_LINE1_NUMBER, "0140", "12ab", "0140"},
        {"a dollar", IDC_LINE1_NUMBER, "0140", "$5", "0140"},
        {"a plus not first", IDC_LINE1_NUMBER, "0140", "+33", "0140"},
        {"digits and a hyphen", IDC_LINE1_NUMBER, "0140", "-56", "0140-56"},
    };
    for (const PasteCase& c : cases) {
        SCOPED_TRACE(c.name);
        Document()->config.phoneLine.line1Number = c.before;
        Reload();
        Document()->SetModifiedFlag(FALSE);
        MiddleClick(c.control, c.selection);
        EXPECT_EQ(qobject_cast<QLineEdit*>(Control(c.control)->m_hWnd)->text(), c.after);
        EXPECT_EQ(Document()->config.phoneLine.line1Number, c.after);
        EXPECT_EQ(Document()->IsModified(), c.after != c.before);
    }
}

class ConsoleUnderX : public startup::StartedConsole {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ExpectRealDisplay());
        StartedConsole::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Frame()->m_hWnd));
    }
};

// Placed by the window manager: the whole frame, title bar included, on the screen.
TEST_F(ConsoleUnderX, TheMainWindowStandsWhollyOnTheScreenWithItsTitleBar)
{
    QWidget* frame = Frame()->m_hWnd;
    // The window manager's frame is there once the title bar adds to the window's height.
    ASSERT_TRUE(QTest::qWaitFor([frame] { return frame->frameGeometry().top() < frame->geometry().top(); }));
    const QRect screen = frame->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(frame->frameGeometry())) << "frame at " << frame->frameGeometry().x() << ","
                                                          << frame->frameGeometry().y();
    // Later layouts (a bar shown, a page chosen) leave it where it is.
    const QPoint placed = frame->frameGeometry().topLeft();
    Frame()->RecalcLayout();
    QTest::qWait(0);
    EXPECT_EQ(frame->frameGeometry().topLeft(), placed);
}

// The Motif hints of a window, as a window manager reads them: flags, functions, decorations.
std::vector<long> MotifHints(QWidget* window)
{
    Display* display = XDisplay();
    const Atom hints = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(display, Window(window->winId()), hints, 0, 5, False, hints, &type, &format, &count,
                           &after, &data) == Success && data) {
        const auto* longs = reinterpret_cast<const long*>(data);
        values.assign(longs, longs + std::min(count, 3ul));
        XFree(data);
    }
    return values;
}

// The wait window has no title-bar button: the window manager is told it may only move it
// (functions named: move alone), and its title bar shows the caption alone; the window
// manager, which honours the hints, grants no other action. The main window keeps the
// minimise and close its style gives, and no maximise.
TEST_F(ConsoleUnderX, TheWindowManagerIsToldOfTheTitleBarButtonsAStyleGives)
{
    enum : long { kFunctions = 1, kDecorations = 2, kMove = 4, kMinimize = 8, kMaximize = 16, kClose = 32,
                  kDecorMinimize = 32, kDecorMaximize = 64 };
    CWaitDlg wait(0, Frame());
    ASSERT_TRUE(wait.Create(IDD_WAIT, Frame()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wait.m_hWnd));
    const std::vector<long> waitHints = MotifHints(wait.m_hWnd);
    ASSERT_EQ(waitHints.size(), 3u);
    EXPECT_EQ(waitHints[0] & (kFunctions | kDecorations), kFunctions | kDecorations);
    EXPECT_EQ(waitHints[1], kMove);
    EXPECT_EQ(waitHints[2] & (kDecorMinimize | kDecorMaximize), 0);
    // The window manager keeps it on top of the main window, never in the task list of its own.
    EXPECT_TRUE(AtomProperty(wait.m_hWnd, "_NET_WM_WINDOW_TYPE").contains(QLatin1String("_NET_WM_WINDOW_TYPE_DIALOG")));
    // What the user sees: the window manager grants it no title-bar button, moving alone.
    const auto allowed = [](QWidget* window) { return AtomProperty(window, "_NET_WM_ALLOWED_ACTIONS"); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return allowed(wait.m_hWnd).contains(QLatin1String("_NET_WM_ACTION_MOVE")); }));
    for (const char* button : {"_NET_WM_ACTION_MINIMIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT",
                               "_NET_WM_ACTION_CLOSE"})
        EXPECT_FALSE(allowed(wait.m_hWnd).contains(QLatin1String(button))) << button;
    wait.DestroyWindow();

    const std::vector<long> mainHints = MotifHints(Frame()->m_hWnd);
    ASSERT_EQ(mainHints.size(), 3u);
    EXPECT_EQ(mainHints[1] & (kMove | kMinimize | kMaximize | kClose), kMove | kMinimize | kClose);
    const QStringList mainAllowed = allowed(Frame()->m_hWnd);
    EXPECT_TRUE(mainAllowed.contains(QLatin1String("_NET_WM_ACTION_MINIMIZE")));
    EXPECT_TRUE(mainAllowed.contains(QLatin1String("_NET_WM_ACTION_CLOSE")));
    EXPECT_FALSE(mainAllowed.contains(QLatin1String("_NET_WM_ACTION_MAXIMIZE_HORZ")));
}

// A short message under a long caption: the box is at least as wide as its caption in a
// title bar's bold face with the title bar's icon and close box beside it (squares of the
// title bar's height).
TEST_F(ConsoleUnderX, AMessageBoxIsAtLeastAsWideAsItsCaption)
{
    afx::PromptAnswerer* scripted = afx::SetPromptAnswerer(nullptr);   // the real box
    int width = 0;
    int captionWidth = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (QTest::qWaitForWindowExposed(box)) {
            QFont bold = box->font();
            bold.setBold(true);
            const QFontMetrics metrics(bold);
            captionWidth = metrics.horizontalAdvance(box->windowTitle()) + 2 * (metrics.height() + 8);
            width = box->width();
        }
        box->reject();
    });
    AfxMessageBox("Oui ?", MB_OK);
    afx::SetPromptAnswerer(scripted);
    ASSERT_GT(captionWidth, 0) << "no message box came";
    EXPECT_GE(width, captionWidth);
}

} // namespace
