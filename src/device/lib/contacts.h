// Contact files: the directory read from and written to the files that spreadsheets (CSV),
// mail clients (vCard) and LDAP directories (LDIF) exchange.
//
// Reading is in two steps: a reader turns the file's bytes into contacts as the file has them
// (texts, with the line each begins on); PlanImport then brings them to the directory's rules
// on a copy of the directory and says, line by line in French, what it adds, replaces and
// refuses. Nothing changes the caller's directory until it takes the copy.
//
// What the files carry of an entry: the speed dial's number, name, fax number, second number
// and e-mail address, the one-touch keys that stand for it, and the groups it belongs to. A
// group is written "Name (0002)"; a file may name it alone ("Name"). Every group also has a
// record of its own, which makes it even without members and carries the keys that stand for
// it: in CSV a row with only the Touche and Groupes cells (one group), in vCard a card of kind
// group (X-ADDRESSBOOKSERVER-KIND:group, or 4.0's KIND:group) whose FN is the group, in LDIF its
// groupOfNames entry with the keys as uid values (an empty group is its own member). A key with
// a record of its own is written as a contact without a speed-dial number.
#pragma once

#include "afx/afx.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class CPhoneBook;

namespace contacts {

enum class Format { none, csv, vcard, ldif };

// The largest contact file read: a directory at capacity takes well under 1 MB in any format.
constexpr qint64 maxFileBytes = 16 * 1024 * 1024;
// The most contacts a file may hold; the directory takes 999.
constexpr int maxContacts = 20000;

// The format a file's name gives (.csv, .vcf or .vcard, .ldif or .ldi), none for any other.
Format FormatOfPath(const QString& path);
// The format of a name as the command line gives it: "csv", "vcf", "ldif".
Format FormatNamed(const QString& name);

// The rules of the directory's fields that contacts fill, as the entry dialogs apply them.
struct FieldRules {
    int nameLength;
    int faxNumberLength;       // spaces and one "+" not counted
    QString faxCharacters;     // what a fax number may hold besides a leading "+"
    bool plusAllowed;          // whether the fax-number field takes a leading "+"
    int emailLength;
};
const FieldRules& DirectoryFieldRules();

// One contact as the file gives it.
struct Contact {
    int line = 0;              // where it begins in the file, from 1
    QString name;
    QString fax;
    QString secondFax;
    QString email;
    QString speedDial;         // empty: the file gives none
    QStringList keys;
    QStringList groups;        // "Ventes (0002)", or "Ventes"
    // A group's own record: `groups` holds the group, `keys` stand for it, nothing else counts.
    bool isGroup = false;
};

// A part of the file that could not be read, with its line.
struct Problem {
    int line = 0;
    QString reason;
};

struct ReadResult {
    QList<Contact> contacts;
    QList<Problem> refused;
    // Not empty when the file as a whole cannot be read (no contact is taken from it then).
    QString error;
};

// The file's text: UTF-8 with or without its byte-order mark, UTF-16 with one, else Windows-1252.
QString DecodeText(const QByteArray& bytes);
// QString::simplified, without a copy for a text that has nothing to fold (most have not).
QString Simplified(const QString& text);

ReadResult Read(Format format, const QByteArray& bytes);
QByteArray Write(Format format, const CPhoneBook& phoneBook);

// What an import does, line by line.
struct ReportLine {
    enum Kind { added, replaced, refused, note };
    Kind kind = note;
    int line = 0;              // 0: not of one line
    QString text;

    QString KindText() const;  // "Ajoutée", "Remplacée", "Refusée", "Remarque"
    // One line for a terminal: "ligne 4 : Ajoutée : composition abrégée 005 « Dupont »".
    QString Printed() const;
};

struct ImportPlan {
    QList<ReportLine> lines;   // in the order of the file
    int added = 0;
    int replaced = 0;
    int refused = 0;
    int unchanged = 0;
    QString error;             // not empty: nothing can be imported
    // The directory with the import applied; the caller takes it (CPhoneBook::TakeContents).
    std::unique_ptr<CPhoneBook> result;

    bool Changes() const { return added + replaced > 0; }
    // "3 ajoutées, 1 remplacée, 2 refusées, 4 inchangées."
    QString Summary() const;
};

// Applies the contacts to a copy of `current`. Numbers are brought to the fax-number field's
// characters, names cut to their field (reported), duplicates of a fax number made one, speed
// dials numbered from 001 unless the file numbers them, an entry whose fax number the
// directory holds replaces that entry, and entries past the directory's capacity are refused.
ImportPlan PlanImport(const CPhoneBook& current, const ReadResult& contacts);

} // namespace contacts
