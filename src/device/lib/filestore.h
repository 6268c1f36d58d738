// The library's files, read and written whole (afx::ReadWholeFile, afx::ReplaceFile), with
// the reason of a failure as a short French phrase ("fichier introuvable").
#pragma once

#include "afx/afx.h"
#include "afx/core/file.h"

#include <QByteArray>

// The file's bytes, when it is a regular file of at most maxBytes bytes. For the programs;
// the library's own readers call afx::ReadWholeFile and fail as it does (ReadFailure).
BOOL ReadFileWhole(const CString& path, qint64 maxBytes, QByteArray& bytes, CString& reason);

// Replaces the file in one step: a failure leaves the previous file whole. A new file is its
// owner's alone unless `access` says otherwise (records and device stores hold passwords).
BOOL WriteFileAtomically(const CString& path, const QByteArray& bytes, CString& reason,
                         afx::NewFileAccess access = afx::NewFileAccess::ownerOnly);

// Why a read or a write failed, as a short French phrase ("fichier introuvable", "disque plein").
CString ReadFailure(const CFileException& e);
CString WriteFailure(const CFileException& e);
