#include "afx/win/helpwindow.h"

#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace afx {

namespace {

QPointer<QTextBrowser>& Browser()
{
    static QPointer<QTextBrowser> browser;
    return browser;
}

QTextBrowser* Window()
{
    if (!Browser()) {
        auto* browser = new QTextBrowser;
        browser->setWindowTitle(AppTitle() + " - Aide");
        browser->setOpenExternalLinks(true);
        browser->resize(640, 520);
        Browser() = browser;
    }
    return Browser();
}

} // namespace

void ShowHelpWindow(DWORD context, UINT command)
{
    if (command == HELP_QUIT) {
        delete Browser().data();
        return;
    }
    QTextBrowser* browser = Window();
    const QString topic = command == HELP_CONTEXT ? QString::number(context, 16) + QStringLiteral(".html")
                                                  : QStringLiteral("index.html");
    if (QFile::exists(QStringLiteral(":/help/") + topic)) {
        browser->setSource(QUrl(QStringLiteral("qrc:/help/") + topic));
    } else {
        browser->setHtml(QStringLiteral("<h2>Aide</h2><p>Aucune rubrique d'aide n'existe pour ce sujet "
                                        "(contexte %1).</p><p><a href=\"qrc:/help/index.html\">Sommaire</a></p>")
                             .arg(QString::number(context, 16)));
    }
    browser->show();
    browser->raise();
    browser->activateWindow();
}

QTextBrowser* HelpBrowser()
{
    return Browser();
}

} // namespace afx
