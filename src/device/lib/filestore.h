// Objects to and from their serialised bytes, and files replaced in one step.
#pragma once

#include "afx/afx.h"

#include <QByteArray>

// The object's serialised form.
QByteArray StoreToBytes(CObject& object);
// Loads the object from its serialised form; throws what its Serialize throws.
void LoadFromBytes(CObject& object, const QByteArray& bytes);

// Writes the file through a temporary file that then replaces it, so that a failure leaves
// the previous file whole. FALSE with the system's reason on failure.
BOOL WriteFileAtomically(const CString& path, const QByteArray& bytes, CString& reason);
