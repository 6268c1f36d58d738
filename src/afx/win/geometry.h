// CPoint, CSize, CRect: Windows' small geometry types (a rectangle excludes its right and
// bottom edges), with conversions to and from Qt's.
#pragma once

#include "afx/win/windefs.h"

#include <QPoint>
#include <QRect>
#include <QSize>

struct POINT { LONG x = 0, y = 0; };
struct SIZE { LONG cx = 0, cy = 0; };
struct RECT { LONG left = 0, top = 0, right = 0, bottom = 0; };
typedef POINT* LPPOINT;
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

class CPoint : public POINT {
public:
    CPoint() = default;
    CPoint(int x0, int y0) { x = x0; y = y0; }
    CPoint(const QPoint& p) : CPoint(p.x(), p.y()) {}
    operator QPoint() const { return {int(x), int(y)}; }
    CPoint operator+(const CPoint& p) const { return {int(x + p.x), int(y + p.y)}; }
    CPoint operator-(const CPoint& p) const { return {int(x - p.x), int(y - p.y)}; }
    bool operator==(const CPoint& p) const { return x == p.x && y == p.y; }
};

class CSize : public SIZE {
public:
    CSize() = default;
    CSize(int cx0, int cy0) { cx = cx0; cy = cy0; }
    CSize(const QSize& s) : CSize(s.width(), s.height()) {}
    operator QSize() const { return {int(cx), int(cy)}; }
    bool operator==(const CSize& s) const { return cx == s.cx && cy == s.cy; }
};

class CRect : public RECT {
public:
    CRect() = default;
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& r) : RECT(r) {}
    CRect(CPoint topLeft, CSize size) : CRect(topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy) {}
    CRect(const QRect& r) : CRect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height()) {}
    operator QRect() const { return QRect(int(left), int(top), Width(), Height()); }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    int Width() const { return int(right - left); }
    int Height() const { return int(bottom - top); }
    CSize Size() const { return {Width(), Height()}; }
    CPoint TopLeft() const { return {int(left), int(top)}; }
    CPoint CenterPoint() const { return {int((left + right) / 2), int((top + bottom) / 2)}; }
    BOOL IsRectEmpty() const { return right <= left || bottom <= top; }
    BOOL PtInRect(CPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void InflateRect(int dx, int dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    bool operator==(const CRect& r) const
    {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }
};
