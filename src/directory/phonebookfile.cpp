#include "directory/phonebookfile.h"

#include "afx/win/fwstrings.h"
#include "device/lib/contacts.h"
#include "device/lib/phonebook.h"
#include "directory/contactimportdlg.h"
#include "device/lib/serialformat.h"
#include "res/resource.h"

#include <QFileInfo>

#include <cerrno>

namespace {

// The message for a failure to read or write a phone-book file.
UINT FailureMessage(const std::exception& e, BOOL save)
{
    if (const auto* archive = dynamic_cast<const CArchiveException*>(&e)) {
        switch (archive->m_cause) {
        case CArchiveException::endOfFile: case CArchiveException::badIndex:
        case CArchiveException::badClass: case CArchiveException::badSchema:
            return AFX_IDP_FAILED_INVALID_FORMAT;
        default:
            return IDP_UNKNOWN_ERROR;
        }
    }
    if (const auto* file = dynamic_cast<const CFileException*>(&e)) {
        switch (file->m_cause) {
        case CFileException::fileNotFound: case CFileException::badPath:
            return AFX_IDP_FAILED_INVALID_PATH;
        case CFileException::diskFull:
            return file->m_lOsError == EFBIG ? AFX_IDP_FAILED_TOO_LARGE : AFX_IDP_FAILED_DISK_FULL;
        case CFileException::accessDenied:
            return save ? AFX_IDP_FAILED_ACCESS_WRITE : AFX_IDP_FAILED_ACCESS_READ;
        default:
            return IDP_UNKNOWN_ERROR;
        }
    }
    return IDP_UNKNOWN_ERROR;
}

void Import(CPhoneBook& phoneBook, const CString& path)
{
    // The phone book's load replaces its content only once the whole stream was read.
    serialformat::LoadFromBytes(phoneBook,
                                afx::ReadWholeFile(path, serialformat::maxFileBytes, CFile::shareExclusive));
}

// A contact file: its contacts shown first, the directory replaced only once the user says so.
void ImportContacts(CPhoneBook& phoneBook, const CString& path, contacts::Format format)
{
    const QByteArray bytes = afx::ReadWholeFile(path, contacts::maxFileBytes, CFile::shareExclusive);
    contacts::ImportPlan plan = contacts::PlanImport(phoneBook, contacts::Read(format, bytes));
    const QString fileName = QFileInfo(path).fileName();
    if (!plan.error.isEmpty()) {
        AfxMessageBox(QStringLiteral("Impossible d'importer %1 : %2").arg(fileName, plan.error), MB_OK | MB_ICONERROR);
        return;
    }
    CContactImportDlg preview(plan, fileName, AfxGetMainWnd());
    if (preview.DoModal() == IDOK && plan.Changes())
        phoneBook.TakeContents(*plan.result);
}

void Export(const QByteArray& bytes, const CString& path)
{
    // An existing file is held exclusively until its replacement has taken its place; one
    // that may not be written is refused here already.
    CFile held;
    if (QFileInfo(path).isFile()) {
        CFileException error;
        if (!held.Open(path, CFile::modeWrite | CFile::shareExclusive, &error))
            throw error;
    }
    // A phone book holds no password: it is made as any document.
    afx::ReplaceFile(path, bytes, afx::NewFileAccess::byUmask);
}

} // namespace

void ImportExportPhoneBook(CPhoneBook& phoneBook, BOOL save)
{
    CString filter;
    CString title;
    filter.LoadString(IDS_CONTACT_FILE_FILTER);
    title.LoadString(save ? IDS_SAVE_PHONE_BOOK_TITLE : IDS_OPEN_PHONE_BOOK_TITLE);
    CFileDialog dialog(!save, "phb", CString(), OFN_HIDEREADONLY, filter, AfxGetMainWnd());
    dialog.m_ofn.lpstrTitle = title;
    if (dialog.DoModal() != IDOK)
        return;
    const CString path = dialog.GetPathName();
    // The contact formats by their extension; any other name is a phone-book file.
    const contacts::Format format = contacts::FormatOfPath(path);
    try {
        if (save)
            Export(format == contacts::Format::none ? serialformat::StoreToBytes(phoneBook) : contacts::Write(format, phoneBook), path);
        else if (format == contacts::Format::none)
            Import(phoneBook, path);
        else
            ImportContacts(phoneBook, path, format);
    } catch (const std::exception& e) {
        CString prompt;
        AfxFormatString1(prompt, FailureMessage(e, save), QFileInfo(path).fileName());
        AfxMessageBox(prompt, MB_OK | MB_ICONERROR);
    }
}
