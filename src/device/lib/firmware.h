// Firmware files (.bfw): a 64-byte header, then the firmware image.
//
//   offset  size  field
//        0     4  magic "BFW\x1A"
//        4     2  format version (1)
//        6     2  header size (64)
//        8    32  model the image is for, UTF-8, zero-padded ("Brevia Pro 45")
//       40    16  firmware version, UTF-8, zero-padded ("2.20")
//                 (both printable text: no control characters, nothing but zeros after it)
//       56     4  image length in bytes
//       60     4  CRC-32 (IEEE 802.3, as zlib computes it) of the image
//       64     …  the image
//
// Integers are little-endian. A file is valid only when every field checks out and the file
// ends exactly where the image does.
#pragma once

#include "afx/afx.h"

#include <QByteArray>

struct FirmwareImage {
    CString model;
    CString version;
    QByteArray image;
};

namespace firmware {

constexpr int headerSize = 64;
constexpr int modelBytes = 32;
constexpr int versionBytes = 16;
// Larger files are refused before they are read.
constexpr qint64 maxImageBytes = 64 * 1024 * 1024;

DWORD Crc32(const QByteArray& bytes);

// The file's bytes. FALSE with the reason when the model or the version is empty, too long
// for its field or not printable, or the image too large.
BOOL Build(const FirmwareImage& firmware, QByteArray& bytes, CString& reason);

// A firmware file that is missing, unreadable or not valid, and why: a short French phrase
// ("somme de contrôle incorrecte").
struct InvalidFile {
    CString reason;
};

// Reads and checks a firmware file; throws InvalidFile.
FirmwareImage Read(const CString& path);

} // namespace firmware
