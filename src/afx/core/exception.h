// Exceptions of files, archives and data exchange.
//
// They are thrown BY VALUE and caught by reference, never as pointers:
//     try { ... } catch (const CArchiveException& e) { ... e.m_cause ... }
//                 catch (const CFileException& e) { ... }
// so there is nothing to Delete() and nothing can leak. CException derives from
// std::exception as well, so a generic handler sees a short description in what().
#pragma once

#include "afx/core/cstring.h"
#include "afx/core/object.h"

#include <exception>

class CException : public CObject, public std::exception {
    DECLARE_DYNAMIC(CException)
public:
    const char* what() const noexcept override { return "CException"; }
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        generic,
        genericException = generic,   // the later spelling
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG osError = -1, const CString& fileName = CString())
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

    // The cause for a C library error number (errno).
    static int ErrnoToException(int error);
    [[noreturn]] static void ThrowErrno(int error, const CString& fileName = CString());

    const char* what() const noexcept override;

    int m_cause;
    LONG m_lOsError;         // the errno behind the cause, -1 when there is none
    CString m_strFileName;
};

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    // badIndex also stands for any value read that lies outside its allowed range
    // (a count above its capacity, a flag that is neither 0 nor 1).
    enum { none, generic, genericException = generic, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

    explicit CArchiveException(int cause = none, const CString& archiveName = CString())
        : m_cause(cause), m_strFileName(archiveName) {}

    const char* what() const noexcept override;

    int m_cause;
    CString m_strFileName;
};

// Thrown by data exchange when a check failed and the user has been told.
class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
public:
    const char* what() const noexcept override { return "CUserException"; }
};

[[noreturn]] void AfxThrowFileException(int cause, LONG osError = -1, const CString& fileName = CString());
[[noreturn]] void AfxThrowArchiveException(int cause, const CString& archiveName = CString());
[[noreturn]] void AfxThrowUserException();
