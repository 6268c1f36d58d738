#include "afx/win/imagelist.h"

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    if (cx <= 0 || cy <= 0)
        return FALSE;
    created = true;
    width = cx;
    height = cy;
    images.clear();
    return TRUE;
}

int CImageList::Add(HICON hIcon)
{
    if (!created || !hIcon)
        return -1;
    images.push_back(*hIcon);
    return int(images.size()) - 1;
}

int CImageList::GetImageCount() const
{
    return int(images.size());
}

HICON CImageList::ExtractIcon(int nImage) const
{
    return nImage >= 0 && nImage < GetImageCount() ? &images[size_t(nImage)] : nullptr;
}

BOOL CImageList::GetIconSize(int& cx, int& cy) const
{
    if (!created)
        return FALSE;
    cx = width;
    cy = height;
    return TRUE;
}
