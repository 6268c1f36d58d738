#include "afx/win/helpwindow.h"

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
    QVariant loadResource(int type, const QUrl& name) override
    {
        if (type == QTextDocument::HtmlResource && name.scheme() == QLatin1String("qrc")
            && !QFile::exists(u':' + name.path())) {
            return QStringLiteral("<h2>Aide</h2><p>Aucune rubrique d'aide n'existe pour ce sujet (%1).</p>"
                                  "<p><a href=\"index.html\">Sommaire</a></p>")
                .arg(name.fileName().section(u'.', 0, 0));
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
        Browser()->setWindowTitle(AppTitle() + " - Aide");
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
