#include "afx/win/gdi.h"

#include "afx/core/resources.h"
#include "afx/win/wnd.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHash>
#include <QImageReader>
#include <QStyle>
#include <QWidget>
#include <cmath>
#include <map>

namespace {

// Faces of Windows that this system lacks, and the installed face that stands in for each.
// Windows' dialog faces become Carlito: at 11 pixels (8 points at 96 dpi) its dialog base
// units are 6 x 13, those of the 8-point dialog font, and the dialogs' labels fit their
// controls as they were laid out. Arial, and the faces named after it that only a maker's
// machines have, become Liberation Sans, drawn to Arial's metrics.
QString SubstituteFace(const QString& face)
{
    static const QStringList dialogFaces = {
        QStringLiteral("MS Sans Serif"), QStringLiteral("MS Shell Dlg"), QStringLiteral("MS Shell Dlg 2"),
        QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"), QStringLiteral("System"),
        QStringLiteral("Segoe UI")};
    if (face.isEmpty() || dialogFaces.contains(face, Qt::CaseInsensitive))
        return QStringLiteral("Carlito");
    if (face.startsWith(QStringLiteral("Arial"), Qt::CaseInsensitive))
        return QStringLiteral("Liberation Sans");
    return face;
}

constexpr int kDefaultPixelHeight = 11;   // 8 points at 96 dpi

} // namespace

QFont CFont::FromFace(const QString& face, int pixelHeight, int weight, bool italic)
{
    QFont font(SubstituteFace(face));
    font.setPixelSize(pixelHeight > 0 ? pixelHeight : kDefaultPixelHeight);
    if (weight > 0)
        font.setWeight(QFont::Weight(qBound(1, weight, 1000)));
    font.setItalic(italic);
    return font;
}

QImage afx::LoadPicture(const QString& file)
{
    // Read as the format its name gives: probing for the format would load and ask every
    // image plugin first.
    QImageReader reader(file, QFileInfo(file).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

void afx::SetSystemFont()
{
    QApplication::setFont(CFont::FromFace(QStringLiteral("MS Shell Dlg"), kDefaultPixelHeight, 0, false));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont)
{
    logFont = *lpLogFont;
    int pixels = kDefaultPixelHeight;
    if (logFont.lfHeight < 0) {
        pixels = int(-logFont.lfHeight);
    } else if (logFont.lfHeight > 0) {
        // A positive height is the cell height: scale the em so that ascent + descent match it.
        const QFont probe = FromFace(logFont.lfFaceName, int(logFont.lfHeight), 0, false);
        const int cell = QFontMetrics(probe).height();
        pixels = qMax(1, int(std::lround(double(logFont.lfHeight) * logFont.lfHeight / qMax(1, cell))));
    }
    QFont created = FromFace(logFont.lfFaceName, pixels, int(logFont.lfWeight), logFont.lfItalic);
    created.setUnderline(logFont.lfUnderline);
    created.setStrikeOut(logFont.lfStrikeOut);
    font = std::make_unique<QFont>(created);
    return TRUE;
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                       BYTE nQuality, BYTE nPitchAndFamily, const CString& lpszFacename)
{
    LOGFONT description;
    description.lfHeight = nHeight;
    description.lfWidth = nWidth;
    description.lfEscapement = nEscapement;
    description.lfOrientation = nOrientation;
    description.lfWeight = nWeight;
    description.lfItalic = bItalic;
    description.lfUnderline = bUnderline;
    description.lfStrikeOut = cStrikeOut;
    description.lfCharSet = nCharSet;
    description.lfOutPrecision = nOutPrecision;
    description.lfClipPrecision = nClipPrecision;
    description.lfQuality = nQuality;
    description.lfPitchAndFamily = nPitchAndFamily;
    description.lfFaceName = lpszFacename;
    return CreateFontIndirect(&description);
}

BOOL CFont::CreatePointFont(int nPointSize, const CString& lpszFaceName)
{
    LOGFONT description;
    description.lfHeight = -LONG(std::lround(nPointSize / 10.0 * 96.0 / 72.0));
    description.lfFaceName = lpszFaceName;
    return CreateFontIndirect(&description);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const
{
    if (!font)
        return 0;
    *pLogFont = logFont;
    return int(sizeof(LOGFONT));
}

const QFont& CFont::GetQFont() const
{
    static const QFont none;
    return font ? *font : none;
}

QColor ColorFromRef(COLORREF color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF color)
{
    if (m_pPainter)
        m_pPainter->fillRect(QRect(CRect(*lpRect)), ColorFromRef(color));
}

CFont* CDC::SelectObject(CFont* pFont)
{
    CFont* previous = m_pSelectedFont;
    m_pSelectedFont = pFont;
    if (m_pPainter && pFont && pFont->IsCreated())
        m_pPainter->setFont(pFont->GetQFont());
    return previous;
}

CPaintDC::CPaintDC(CWnd* pWnd) : painter(pWnd->m_hWnd)
{
    m_pPainter = &painter;
}

CPaintDC::~CPaintDC() = default;

HICON AfxLoadIcon(UINT nIDResource)
{
    static std::map<UINT, QIcon> icons;   // node-based: the handles stay valid
    if (!icons.count(nIDResource)) {
        const QStringList files = afx::ResourceScript::Instance().IconFiles(int(nIDResource));
        if (files.isEmpty())
            return nullptr;
        QIcon icon;
        for (const QString& file : files)
            icon.addPixmap(QPixmap::fromImage(afx::LoadPicture(file)));
        icons.emplace(nIDResource, icon);
    }
    return &icons.at(nIDResource);
}

HICON AfxLoadStandardIcon(UINT nID)
{
    static std::map<UINT, QIcon> icons;   // node-based: the handles stay valid
    if (!icons.count(nID)) {
        QStyle::StandardPixmap pixmap = QStyle::SP_TitleBarMenuButton;
        switch (nID) {
        case IDI_HAND: pixmap = QStyle::SP_MessageBoxCritical; break;
        case IDI_EXCLAMATION: pixmap = QStyle::SP_MessageBoxWarning; break;
        case IDI_ASTERISK: pixmap = QStyle::SP_MessageBoxInformation; break;
        default: break;
        }
        icons.emplace(nID, QApplication::style()->standardIcon(pixmap));
    }
    return &icons.at(nID);
}
