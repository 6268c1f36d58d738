// CImageList: a list of pictures of one size, for the tree control's items.
#pragma once

#include "afx/win/gdi.h"

#include <QIcon>
#include <deque>

enum : UINT { ILC_MASK = 0x1, ILC_COLOR8 = 0x8 };

class CImageList {
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Pictures are cx x cy pixels; the colour depth and the sizes to reserve are Windows'
    // concerns only.
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // The new picture's index; -1 when the list was not created or there is no icon.
    int Add(HICON hIcon);
    int GetImageCount() const;
    // The picture; it lives as long as the list holds it. nullptr for no such picture.
    HICON ExtractIcon(int nImage) const;
    BOOL GetIconSize(int& cx, int& cy) const;   // FALSE when the list was not created

private:
    bool created = false;
    int width = 0;
    int height = 0;
    std::deque<QIcon> images;   // a deque: adding never moves the pictures handed out
};
