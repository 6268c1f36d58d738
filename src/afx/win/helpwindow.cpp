#include "afx/win/helpwindow.h"

#include "afx/win/fwstrings.h"
#include "afx/win/gdi.h"
#include "afx/win/winids.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace afx {

namespace {

// Topics are read from the embedded help; a topic that is not there (asked for, or linked
// from another topic) is a page saying so.
class HelpTextBrowser : public QTextBrowser {
public:
    HelpTextBrowser()
    {
        // Text to read at length: the system's face at 10 points, as the bars' labels, not at
        // the 8 points of dialogs.
        CFont text;
        text.CreatePointFont(100, QApplication::font().family());
        setFont(text.GetQFont());
    }

    QVariant loadResource(int type, const QUrl& name) override
    {
        if (type == QTextDocument::HtmlResource && name.scheme() == QLatin1String("qrc")
            && !QFile::exists(u':' + name.path())) {
            const QString missing = QString(FrameworkString(AFX_IDP_HELP_NO_TOPIC))
                                        .replace(QLatin1String("%1"), name.fileName().section(u'.', 0, 0));
            return QStringLiteral("<h2>%1</h2><p>%2</p><p><a href=\"index.html\">%3</a></p>")
                .arg(QString(FrameworkString(AFX_IDS_HELP_WINDOW)).toHtmlEscaped(), missing.toHtmlEscaped(),
                     QString(FrameworkString(AFX_IDS_HELP_CONTENTS)).toHtmlEscaped());
        }
        return QTextBrowser::loadResource(type, name);
    }
};

QPointer<QTextBrowser>& Browser()
{
    static QPointer<QTextBrowser> browser;
    return browser;
}

} // namespace

void ShowHelpWindow(DWORD context, UINT command)
{
    if (command == HELP_QUIT) {
        delete Browser().data();
        return;
    }
    if (!Browser()) {
        Browser() = new HelpTextBrowser;
        Browser()->setWindowTitle(AppTitle() + " - " + FrameworkString(AFX_IDS_HELP_WINDOW));
        Browser()->setOpenExternalLinks(true);
        Browser()->resize(640, 520);
    }
    const QString topic = command == HELP_CONTEXT ? QString::number(context, 16) : QStringLiteral("index");
    Browser()->setSource(QUrl(QStringLiteral("qrc:/help/%1.html").arg(topic)));
    Browser()->show();
    Browser()->raise();
    Browser()->activateWindow();
}

QTextBrowser* HelpBrowser()
{
    return Browser();
}

} // namespace afx
