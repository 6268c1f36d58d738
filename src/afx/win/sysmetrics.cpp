#include "afx/win/sysmetrics.h"

#include "afx/win/winapp.h"
#include "afx/win/wnd.h"

#include <QApplication>
#include <QMenuBar>
#include <QStyle>

int GetSystemMetrics(int nIndex)
{
    switch (nIndex) {
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: {
        CWnd* main = AfxGetMainWnd();
        if (!main || !main->m_hWnd)
            return 0;
        const QSize frame = main->m_hWnd->frameGeometry().size() - main->m_hWnd->size();
        return ((nIndex == SM_CXDLGFRAME ? frame.width() : frame.height()) + 1) / 2;
    }
    case SM_CYMENU: {
        // A frame's menu bar, as the style draws it; the style and its font stay for the
        // program's life, so it is measured once.
        static const int height = [] {
            QMenuBar probe;
            probe.addMenu(QStringLiteral("&Fichier"));
            return probe.sizeHint().height();
        }();
        return height;
    }
    case SM_CXHSCROLL:
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    default:
        return 0;
    }
}
