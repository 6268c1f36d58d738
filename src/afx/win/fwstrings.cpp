#include "afx/win/fwstrings.h"

#include "afx/core/resources.h"
#include "afx/win/winids.h"

namespace afx {

namespace {

// As the framework's French resources word them.
const char* BuiltInText(UINT id)
{
    switch (id) {
    case AFX_IDS_IDLEMESSAGE: return "Prêt";
    case AFX_IDS_OPENFILE: return "Ouvrir";
    case AFX_IDS_SAVEFILE: return "Enregistrer sous";
    case AFX_IDS_ALLFILTER: return "Tous les fichiers (*.*)";
    case AFX_IDS_UNTITLED: return "Sans titre";
    case AFX_IDP_INVALID_FILENAME: return "Nom de fichier incorrect.";
    case AFX_IDP_FAILED_TO_OPEN_DOC: return "Impossible d'ouvrir le document.";
    case AFX_IDP_FAILED_TO_SAVE_DOC: return "Impossible d'enregistrer le document.";
    case AFX_IDP_ASK_TO_SAVE: return "Enregistrer les modifications apportées à %1 ?";
    case AFX_IDP_FAILED_TO_CREATE_DOC: return "Impossible de créer un document vide.";
    case AFX_IDP_FAILED_INVALID_FORMAT: return "Format de fichier inattendu.";
    case AFX_IDP_FAILED_INVALID_PATH:
        return "%1\nCe fichier est introuvable.\nVérifiez que le chemin d'accès et le nom de fichier sont corrects.";
    case AFX_IDP_FAILED_DISK_FULL: return "Le disque de destination est plein.";
    case AFX_IDP_FAILED_ACCESS_READ: return "Impossible de lire %1 : il est ouvert par un autre utilisateur.";
    case AFX_IDP_FAILED_ACCESS_WRITE:
        return "Impossible d'écrire dans %1 : il est en lecture seule ou ouvert par un autre utilisateur.";
    case AFX_IDP_FAILED_IO_ERROR_READ: return "Une erreur inattendue s'est produite lors de la lecture de %1.";
    case AFX_IDP_FAILED_IO_ERROR_WRITE: return "Une erreur inattendue s'est produite lors de l'écriture de %1.";
    case AFX_IDP_FAILED_TOO_LARGE: return "Impossible d'écrire %1 : le fichier dépasse la taille de fichier permise.";
    case AFX_IDP_PARSE_INT: return "Entrez un entier.";
    case AFX_IDP_PARSE_INT_RANGE: return "Entrez un entier compris entre %1 et %2.";
    case AFX_IDP_PARSE_STRING_SIZE: return "Entrez au plus %1 caractères.";
    case AFX_IDP_PARSE_UINT: return "Entrez un entier positif.";
    case AFX_IDS_HELP_WINDOW: return "Aide";
    case AFX_IDP_HELP_NO_TOPIC: return "Aucune rubrique d'aide n'existe pour ce sujet (%1).";
    case AFX_IDS_HELP_CONTENTS: return "Sommaire";
    default: return nullptr;
    }
}

} // namespace

CString FrameworkString(UINT id)
{
    if (const QString* text = ResourceScript::Instance().String(int(id)))
        return *text;
    if (const char* text = BuiltInText(id))
        return CString(text);
    qWarning("afx: no framework string %u", id);
    return {};
}

} // namespace afx

BOOL AfxExtractSubString(CString& rString, const CString& lpszFullString, int iSubString, TCHAR chSep)
{
    const QStringList parts = QString(lpszFullString).split(QChar(chSep));
    if (iSubString < 0 || iSubString >= parts.size()) {
        rString.Empty();
        return FALSE;
    }
    rString = parts.at(iSubString);
    return TRUE;
}

void AfxFormatString1(CString& rString, UINT nIDS, const CString& lpsz1)
{
    rString = QString(afx::FrameworkString(nIDS)).replace(QLatin1String("%1"), lpsz1);
}
