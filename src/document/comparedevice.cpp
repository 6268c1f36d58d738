// What applying the record would change on the device, read from it and shown line by line.
#include "dialogs/detailsmessagedlg.h"
#include "document/ntsmgr.h"
#include "recordwording/recordwording.h"
#include "res/resource.h"

#include <memory>

void CNtsMgr::OnCompareWithDevice()
{
    auto onDevice = std::make_unique<CConfig>();
    if (!RunDeviceOperation(Compare, onDevice.get()))
        return;
    const CStringArray lines = WordDifferences(DiffRecords(*onDevice, config));
    if (lines.IsEmpty()) {
        AfxMessageBox(IDP_COMPARE_SAME, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // What will change is news, not a failure.
    CDetailsMessageDlg::ShowLines(IDP_COMPARE_DIFFERENCES, lines, AfxGetMainWnd(), IDI_ASTERISK);
}
