// CFont (a QFont made from Windows font descriptions), and CDC / CPaintDC: a QPainter for
// the handlers of WM_PAINT and WM_ERASEBKGND. Painting code may use the QPainter directly.
#pragma once

#include "afx/win/geometry.h"

#include <QFont>
#include <QIcon>
#include <QPainter>
#include <memory>

class CWnd;

enum : LONG { FW_DONTCARE = 0, FW_NORMAL = 400, FW_BOLD = 700 };

struct LOGFONT {
    LONG lfHeight = 0;        // < 0: character height in pixels; > 0: cell height
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_DONTCARE;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    CString lfFaceName;
};

class CFont;
// A font handle, as WM_SETFONT carries it.
typedef CFont* HFONT;

class CFont {
public:
    CFont() = default;
    HFONT GetSafeHandle() const { return font ? const_cast<CFont*>(this) : nullptr; }
    operator HFONT() const { return GetSafeHandle(); }
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                    BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                    BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                    BYTE nPitchAndFamily, const CString& lpszFacename);
    // nPointSize in tenths of a point, at 96 dots per inch.
    BOOL CreatePointFont(int nPointSize, const CString& lpszFaceName);
    int GetLogFont(LOGFONT* pLogFont) const;
    bool IsCreated() const { return bool(font); }
    const QFont& GetQFont() const;

    // The font Windows would pick for a face and size; faces this system lacks become faces
    // of the same metrics at the same pixel height: Windows' dialog faces ("MS Sans Serif",
    // "MS Shell Dlg", ...) Carlito, "Arial" Liberation Sans.
    static QFont FromFace(const QString& face, int pixelHeight, int weight, bool italic);

private:
    std::unique_ptr<QFont> font;
    LOGFONT logFont;
};

namespace afx {
// Makes the stand-in of Windows' user-interface font, the 8-point dialog face, the
// application's font: menus, bars, tooltips, the faces the system is asked for, and every
// window not given another. Called once the application object exists.
void SetSystemFont();
// A picture of the resources, read as the format its name gives; a null image when it
// cannot be read.
QImage LoadPicture(const QString& file);
} // namespace afx

// A painter on a window. CPaintDC opens one on the window being painted (WM_PAINT handlers
// only); CDC also wraps the painter the layer hands to OnEraseBkgnd.
class CDC {
public:
    explicit CDC(QPainter* painter = nullptr) : m_pPainter(painter) {}
    virtual ~CDC() = default;
    QPainter* GetPainter() const { return m_pPainter; }
    void FillSolidRect(LPCRECT lpRect, COLORREF color);
    CFont* SelectObject(CFont* pFont);

protected:
    QPainter* m_pPainter;
    CFont* m_pSelectedFont = nullptr;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

private:
    QPainter painter;
};

QColor ColorFromRef(COLORREF color);

// Icons: shared handles that live as long as the process, as Windows' loaded icons.
typedef const QIcon* HICON;
enum : UINT { IDI_HAND = 32513, IDI_EXCLAMATION = 32515, IDI_ASTERISK = 32516 };
// An icon of the resources (one picture file per size); nullptr when there is none.
HICON AfxLoadIcon(UINT nIDResource);
// A system icon (IDI_*), from the style.
HICON AfxLoadStandardIcon(UINT nID);
