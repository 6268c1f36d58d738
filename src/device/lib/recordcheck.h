// The record as a device would take it, looked at before anything is sent: every field
// against the range the device accepts, and every reference by number to a directory entry
// that is not there.
#pragma once

#include "device/lib/config.h"

// Puts one French line a finding into `findings`, naming the page and the field as the
// console shows them, e.g. "Lignes téléphonique : Sonnerie(s) avant réponse (1-10) : 12
// n'est pas compris entre 1 et 10."; returns their count, 0 for a record the device takes.
// The names come from the console's resource script, which the program must embed.
int CheckRecord(const CConfig& record, CStringArray& findings);
