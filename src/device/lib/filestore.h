// The library's files, read and written whole (afx::ReadWholeFile, afx::ReplaceFile), with
// the reason of a failure as a short French phrase ("fichier introuvable").
#pragma once

#include "afx/afx.h"
#include "afx/core/file.h"

#include <QByteArray>

// The file's bytes, when it is a regular file of at most maxBytes bytes.
BOOL ReadFileWhole(const CString& path, qint64 maxBytes, QByteArray& bytes, CString& reason);

// Replaces the file in one step: a failure leaves the previous file whole. A new file is its
// owner's alone unless `access` says otherwise (records and device stores hold passwords).
BOOL WriteFileAtomically(const CString& path, const QByteArray& bytes, CString& reason,
                         afx::NewFileAccess access = afx::NewFileAccess::ownerOnly);

// Why a write failed, as a short French phrase ("disque plein").
CString WriteFailure(const CFileException& e);
