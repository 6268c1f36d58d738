// Filling the directory's lists at capacity in the started console (1999 group dials, 999
// speed dials), beside filling the same rows into the same Qt widget class directly, in the
// same run: the cost of the list page and the layer over a bare table.
#include "app/consoleapp.h"
#include "device/lib/phonebook.h"
#include "directory/directorypages.h"
#include "document/ntsmgr.h"
#include "view/categorysheet.h"
#include "view/ntsview.h"
#include "../tools/snapshot/offscreen.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <benchmark/benchmark.h>

namespace {

constexpr int kDirectoryCategory = 2;
enum Tab { speedDialTab = 0, groupTab = 2 };

CConsoleApp* console = nullptr;

CNtsView* View()
{
    return dynamic_cast<CNtsView*>(dynamic_cast<CFrameWnd*>(console->m_pMainWnd)->GetActiveView());
}

CPhoneBook& Book()
{
    return dynamic_cast<CNtsMgr*>(View()->GetDocument())->config.phoneBook;
}

// The directory at capacity: every speed dial and every group, names with accents.
void FillDirectory()
{
    CPhoneBook& book = Book();
    for (int n = 1; n <= CSpeedDial::max_count; ++n) {
        auto* entry = new CSpeedDial(n);
        entry->GetDialingData()->name = CString("Agence Île-de-France ") + FormatId(n, 3);
        entry->GetDialingData()->faxNumber = CString("01 40 ") + FormatId(n, 6);
        book.Add(entry);
    }
    for (int n = 1; n <= CGroupDial::max_count; ++n)
        book.Add(new CGroupDial(n, CString("Équipe ") + FormatId(n, 4)));
}

CDirectoryPage& ShownPage(int tab)
{
    CNtsView* view = View();
    view->SelectCategory(kDirectoryCategory);
    CCategorySheet* sheet = view->SheetOf(kDirectoryCategory);
    sheet->SetActivePage(tab);
    return *dynamic_cast<CDirectoryPage*>(sheet->GetPage(tab));
}

// The page's own rebuild, as when it becomes the active page again.
void PageFill(benchmark::State& state, int tab)
{
    CDirectoryPage& page = ShownPage(tab);
    for (auto _ : state) {
        page.UpdateData(FALSE);
        benchmark::DoNotOptimize(page.list.GetItemCount());
    }
    state.counters["rows"] = page.list.GetItemCount();
}

// The same rows, texts and item data straight into a table of the same class and size.
void BareFill(benchmark::State& state, int tab)
{
    CDirectoryPage& page = ShownPage(tab);
    UINT columnsId = 0;
    CObList* entries = page.GetList(columnsId);
    const int columns = page.list.GetColumnCount();
    QStringList headings;
    for (int column = 0; column < columns; ++column)
        headings << qobject_cast<QTableWidget*>(page.list.m_hWnd)->horizontalHeaderItem(column)->text();
    QTableWidget table(page.m_hWnd);
    table.setGeometry(page.list.m_hWnd->geometry());
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.verticalHeader()->hide();
    table.show();
    for (auto _ : state) {
        table.setRowCount(0);
        table.setColumnCount(columns);
        table.setHorizontalHeaderLabels(headings);
        int row = 0;
        for (POSITION pos = entries->GetHeadPosition(); pos; ++row) {
            auto* entry = static_cast<CIdObject*>(entries->GetNext(pos));
            CStringArray texts;
            entry->GetText(texts);
            table.insertRow(row);
            for (int column = 0; column < texts.GetSize(); ++column) {
                auto* cell = new QTableWidgetItem(texts[column]);
                if (column == 0)
                    cell->setData(Qt::UserRole, QVariant::fromValue(quintptr(entry)));
                table.setItem(row, column, cell);
            }
        }
        benchmark::DoNotOptimize(table.rowCount());
    }
    state.counters["rows"] = table.rowCount();
}

BENCHMARK_CAPTURE(PageFill, GroupDials, int(groupTab))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BareFill, GroupDials, int(groupTab))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PageFill, SpeedDials, int(speedDialTab))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BareFill, SpeedDials, int(speedDialTab))->Unit(benchmark::kMillisecond);

// Turning to the full directory category from another one, its active page rebuilt.
void SwitchToFullDirectory(benchmark::State& state)
{
    ShownPage(groupTab);
    CNtsView* view = View();
    for (auto _ : state) {
        view->SelectCategory(0);
        view->SelectCategory(kDirectoryCategory);
        QApplication::processEvents();
    }
}
BENCHMARK(SwitchToFullDirectory)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    offscreen::Sandbox sandbox;
    QApplication application(sandbox.applicationArgc, argv);
    afx::SetSystemFont();
    offscreen::StartAnswers answer;
    afx::SetPromptAnswerer(&answer);
    CConsoleApp app;
    if (!app.InitInstance())
        return 1;
    console = &app;
    FillDirectory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
