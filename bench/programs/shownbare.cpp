// The floor of the start-up benchmark: what a Qt developer would write for a main window of
// the console's size with as many widgets (menus, a toolbar, a status bar, a list of categories
// beside a stack of pages of controls, only one page shown), reported once shown.
// Arguments: the number of widgets, the width and the height.
#include "shown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const qsizetype widgets = arguments.value(1).toLongLong();
    QMainWindow window;
    for (const char* title : {"&Fichier", "&Édition", "&Périphérique", "&Affichage", "&?"}) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromUtf8(title));
        for (int item = 1; item <= 6; ++item)
            menu->addAction(QStringLiteral("Commande %1").arg(item));
    }
    QToolBar* tools = window.addToolBar(QStringLiteral("Outils"));
    for (const char* label : {"Nouveau", "Ouvrir", "Enregistrer", "Lire", "Appliquer", "Aide"})
        tools->addAction(QString::fromUtf8(label));
    window.statusBar()->showMessage(QStringLiteral("Prêt"));

    auto* split = new QSplitter(&window);
    auto* categories = new QListWidget(split);
    auto* pages = new QStackedWidget(split);
    for (int category = 1; category <= 8; ++category)
        categories->addItem(QStringLiteral("Catégorie %1").arg(category));
    window.setCentralWidget(split);
    // Pages of labelled controls, as many as it takes to reach the widget count.
    for (int page = 0; QApplication::allWidgets().size() < widgets; ++page) {
        auto* panel = new QWidget;
        auto* grid = new QGridLayout(panel);
        for (int row = 0; row < 12 && QApplication::allWidgets().size() < widgets; ++row) {
            grid->addWidget(new QLabel(QStringLiteral("Réglage %1 :").arg(row + 1)), row, 0);
            switch (row % 4) {
            case 0: grid->addWidget(new QLineEdit(QStringLiteral("valeur")), row, 1); break;
            case 1: grid->addWidget(new QCheckBox(QStringLiteral("Activé")), row, 1); break;
            case 2: {
                auto* choice = new QComboBox;
                choice->addItems({QStringLiteral("Oui"), QStringLiteral("Non")});
                grid->addWidget(choice, row, 1);
                break;
            }
            default: grid->addWidget(new QPushButton(QStringLiteral("Modifier...")), row, 1); break;
            }
        }
        pages->addWidget(panel);
    }
    window.resize(arguments.value(2).toInt(), arguments.value(3).toInt());
    window.show();
    ReportShown(window);
    return 0;
}
