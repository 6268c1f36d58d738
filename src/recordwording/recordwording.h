// The console's French wording of the record check's findings, shared by the console and
// tamselctl: "Page : Champ : problème", the page and the field named as the console's windows
// show them (captions and labels of the resource script, which the program must embed), e.g.
// "Lignes téléphonique : Sonnerie(s) avant réponse (1-10) : 12 n'est pas compris entre 1 et 10."
#pragma once

#include "device/lib/recordcheck.h"
#include "device/lib/recorddiff.h"

#include <functional>

// Calls visit(section, field, templateId, controlId) for every field of a plain section that a
// page or panel edits, and for the fields of the directory's, mailboxes' and client codes'
// entry dialogs (section "speedDials", "mailBoxes", "clientCodes"; "groupDials" for a group's
// own fields).
void ForEachFieldControl(const std::function<void(const char*, const char*, int, int)>& visit);

CString WordFinding(const RecordFinding& finding);
// The problem alone, without its page and field ("12 n'est pas compris entre 1 et 10."), for a
// finding placed otherwise (tamselctl load names the JSON path).
CString WordProblem(const RecordFinding& finding);
// The findings' lines, in their order.
CStringArray WordFindings(const std::vector<RecordFinding>& findings);

// "Page : Champ" of a finding's place (its section, field, entry and index).
CString WordPlace(const RecordFinding& finding);

// A difference between two records, as "Page : Champ : avant → après"; "Page 005 : ajoutée
// « Nom »" or "supprimée" for an entry as a whole; "Page : Champ : modifié" for a password.
CString WordDifference(const RecordDifference& difference);
CStringArray WordDifferences(const std::vector<RecordDifference>& differences);
