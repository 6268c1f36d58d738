// The platform layer's non-window part: strings, objects, collections, time, files, archives.
#pragma once

#include "afx/core/archive.h"
#include "afx/core/collections.h"
#include "afx/core/cstring.h"
#include "afx/core/ctime.h"
#include "afx/core/exception.h"
#include "afx/core/file.h"
#include "afx/core/object.h"
#include "afx/core/types.h"
