#include "pages/machineinfopage.h"

#include "res/resource.h"

IMPLEMENT_DYNAMIC(CMachineInfoPage, CPropertyPage)

CMachineInfoPage::CMachineInfoPage(CMachineInfo* machineInfo)
    : CPropertyPage(IDD_MACHINE_INFO_PAGE), machineInfo(machineInfo)
{
}

// Nothing here marks the document modified: leaving the page only reads back what it shows.
void CMachineInfoPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_MODEL_NAME, machineInfo->modelName);
    DDX_Text(pDX, IDC_FIRMWARE_VERSION, machineInfo->firmwareVersion);
    DDX_Text(pDX, IDC_MEMORY_SIZE, machineInfo->memorySize);
    DDX_Text(pDX, IDC_TRAY_OPTIONS, machineInfo->trayOptions);
    DDX_Text(pDX, IDC_LANGUAGE_CODE, machineInfo->languageCode);
    DDX_Text(pDX, IDC_SCAN_COUNT, machineInfo->scanCount);
    DDX_Text(pDX, IDC_PRINT_COUNT, machineInfo->printCount);
    DDX_Text(pDX, IDC_DRUM_COUNT, machineInfo->drumCount);
    DDX_Text(pDX, IDC_DOCUMENT_JAMS, machineInfo->documentJams);
    DDX_Text(pDX, IDC_PRINT_JAMS, machineInfo->printJams);
}
