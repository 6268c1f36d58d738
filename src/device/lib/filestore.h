// Files replaced in one step.
#pragma once

#include "afx/afx.h"

#include <QByteArray>

// Writes the file through a temporary file that then replaces it, so that a failure leaves
// the previous file whole. FALSE with the reason, in French, on failure.
BOOL WriteFileAtomically(const CString& path, const QByteArray& bytes, CString& reason);
