// The eight categories of settings: the icon and caption the category bar and the caption bar
// show, and the page templates of each, in tab order. A row's position is the category index
// used by the view, the category bar and the document's hints.
#pragma once

#include "afx/afxwin.h"

struct CategoryRow {
    UINT iconId;
    UINT captionId;
    UINT pages[6];        // template ids in tab order; 0 for an empty slot
    BOOL networkOnly;     // listed only in network mode
};

constexpr int categoryCount = 8;
extern const CategoryRow categoryTable[categoryCount];

void GetCategoryResources(int index, UINT& iconId, UINT& captionId);
