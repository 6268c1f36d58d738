// The readers and writers of the three contact formats.
#include "device/lib/contacts.h"

#include "device/lib/phonebook.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace contacts {

namespace {

const QString lineEnd = QStringLiteral("\r\n");

// The file's text cut into lines, each with its number from 1; CR LF, LF and CR end a line.
struct Line {
    int number;
    QString text;
};

QList<Line> Lines(const QString& text)
{
    QList<Line> lines;
    int number = 1;
    qsizetype start = 0;
    for (qsizetype at = 0; at <= text.size(); ++at) {
        if (at < text.size() && text[at] != u'\n' && text[at] != u'\r')
            continue;
        lines << Line{number++, text.mid(start, at - start)};
        if (at + 1 < text.size() && text[at] == u'\r' && text[at + 1] == u'\n')
            ++at;
        start = at + 1;
    }
    return lines;
}

// Keys of one cell or property, separated by ";" or ","; groups of a cell, by ";" only (a
// group's name may hold a comma).
QStringList Items(const QString& text, bool commas = true)
{
    QStringList items;
    QString item;
    for (qsizetype at = 0; at <= text.size(); ++at) {
        const QChar c = at < text.size() ? text[at] : QChar(u';');
        if (c != u';' && (!commas || c != u',')) {
            item += c;
            continue;
        }
        if (!item.trimmed().isEmpty())
            items << item.trimmed();
        item.clear();
    }
    return items;
}

ReadResult TooMany()
{
    ReadResult result;
    result.error = QStringLiteral("le fichier contient plus de %1 contacts.").arg(maxContacts);
    return result;
}

// ---- What the files carry of the directory ----

QString GroupToken(const CGroupDial& group)
{
    return QStringLiteral("%1 (%2)").arg(QString(group.name), QString(FormatId(group.GetId(), CGroupDial::digits)));
}

QList<Contact> ExportedContacts(const CPhoneBook& book)
{
    QHash<const CObject*, QStringList> groupsOf;
    QHash<const CObject*, QStringList> keysOf;
    const CObList& groups = book.GetGroupDials();
    for (POSITION pos = groups.GetHeadPosition(); pos != nullptr;) {
        const auto* group = static_cast<const CGroupDial*>(groups.GetNext(pos));
        for (POSITION m = group->members.GetHeadPosition(); m != nullptr;) {
            QStringList& tokens = groupsOf[group->members.GetNext(m)];
            if (!tokens.contains(GroupToken(*group)))
                tokens << GroupToken(*group);
        }
    }
    const CObList& keys = book.GetOneTouches();
    for (POSITION pos = keys.GetHeadPosition(); pos != nullptr;) {
        const auto* key = static_cast<const COneTouch*>(keys.GetNext(pos));
        keysOf[key->GetRef()] << FormatId(key->GetId(), COneTouch::digits);
    }
    const auto contact = [&](const CDialingData& data) {
        Contact c;
        c.name = data.name;
        c.fax = data.faxNumber;
        c.secondFax = data.secondNumber;
        c.email = data.emailAddress;
        return c;
    };
    QList<Contact> contacts;
    const CObList& speedDials = book.GetSpeedDials();
    for (POSITION pos = speedDials.GetHeadPosition(); pos != nullptr;) {
        const auto* speedDial = static_cast<const CSpeedDial*>(speedDials.GetNext(pos));
        Contact c = contact(*speedDial->GetDialingData());
        c.speedDial = FormatId(speedDial->GetId(), CSpeedDial::digits);
        c.keys = keysOf.value(speedDial);
        c.groups = groupsOf.value(speedDial);
        contacts << c;
    }
    for (POSITION pos = keys.GetHeadPosition(); pos != nullptr;) {
        const auto* key = static_cast<const COneTouch*>(keys.GetNext(pos));
        if (const CDialingData* record = key->GetDialingData()) {
            Contact c = contact(*record);
            c.keys << FormatId(key->GetId(), COneTouch::digits);
            c.groups = groupsOf.value(key);
            contacts << c;
        }
    }
    return contacts;
}

// ---- CSV ----

enum class Column { other, name, fax, secondFax, phone, email, speedDial, keys, groups };

// A heading without case, accents, spaces or punctuation: "N° de télécopie" is "ndetelecopie".
QString HeadingKey(const QString& heading)
{
    QString key;
    for (QChar c : heading.normalized(QString::NormalizationForm_D)) {
        if (c.isLetterOrNumber() && c.category() != QChar::Mark_NonSpacing)
            key += c.toLower();
    }
    return key;
}

Column ColumnOf(const QString& heading)
{
    static const QHash<QString, Column> columns = [] {
        QHash<QString, Column> known;
        const auto add = [&](Column column, std::initializer_list<const char*> names) {
            for (const char* name : names)
                known.insert(QString::fromLatin1(name), column);
        };
        add(Column::name, {"nom", "name", "nomcomplet", "fullname", "displayname", "nomaffiche", "contact"});
        add(Column::fax, {"fax", "telecopie", "telecopieur", "numerodefax", "numerofax", "faxnumber", "businessfax",
                          "faxbureau", "numerodetelecopie"});
        add(Column::secondFax, {"secondnumero", "secondnumber", "secondfax", "fax2", "autrefax", "otherfax"});
        add(Column::phone, {"telephone", "phone", "tel", "telephonebureau", "businessphone", "phonenumber",
                            "numerodetelephone"});
        add(Column::email, {"courriel", "email", "mail", "messagerie", "adresseelectronique", "emailaddress"});
        add(Column::speedDial, {"numero", "number", "compositionabregee", "speeddial", "no", "n"});
        add(Column::keys, {"touche", "touches", "key", "keys", "compositioninstantanee", "onetouch"});
        add(Column::groups, {"groupes", "groupe", "groups", "group", "categories"});
        return known;
    }();
    return columns.value(HeadingKey(heading), Column::other);
}

struct Row {
    int line;
    QStringList cells;
};

// The separator the heading line uses most, outside quotes: ",", ";" or a tab.
QChar Separator(const QString& text)
{
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        if (quoted)
            continue;
        if (c == u'\n' || c == u'\r')
            break;
        commas += c == u',';
        semicolons += c == u';';
        tabs += c == u'\t';
    }
    if (semicolons > commas && semicolons >= tabs)
        return u';';
    return tabs > commas ? u'\t' : u',';
}

// RFC 4180 records; a quote inside an unquoted cell is taken as it is. False, with the line
// of the quote, when a quoted cell never ends.
bool CsvRows(const QString& text, QChar separator, QList<Row>& rows, int& openLine)
{
    int line = 1;
    Row row{1, {}};
    QString cell;
    bool quoted = false;       // inside a quoted cell
    bool wasQuoted = false;    // the cell began with a quote
    const auto endCell = [&] {
        row.cells << cell;
        cell.clear();
        wasQuoted = false;
    };
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        if (quoted) {
            if (c == u'"' && at + 1 < text.size() && text[at + 1] == u'"') {
                cell += u'"';
                ++at;
            } else if (c == u'"') {
                quoted = false;
            } else {
                if (c == u'\n' || (c == u'\r' && (at + 1 >= text.size() || text[at + 1] != u'\n')))
                    ++line;
                cell += c;
            }
        } else if (c == u'"' && cell.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
            openLine = line;
        } else if (c == separator) {
            endCell();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n')
                ++at;
            endCell();
            rows << row;
            if (rows.size() > maxContacts + 1)
                return true;
            row = Row{++line, {}};
        } else {
            cell += c;
        }
    }
    if (quoted)
        return false;
    if (!cell.isEmpty() || !row.cells.isEmpty()) {
        endCell();
        rows << row;
    }
    return true;
}

ReadResult ReadCsv(const QByteArray& bytes)
{
    ReadResult result;
    const QString text = DecodeText(bytes);
    QList<Row> rows;
    int openLine = 0;
    if (!CsvRows(text, Separator(text), rows, openLine)) {
        result.error = QStringLiteral("ligne %1 : des guillemets ouverts ne sont jamais fermés.").arg(openLine);
        return result;
    }
    if (rows.size() > maxContacts + 1)
        return TooMany();
    QList<Column> columns;
    for (const QString& heading : rows.value(0).cells)
        columns << ColumnOf(heading);
    if (!columns.contains(Column::name) && !columns.contains(Column::fax) && !columns.contains(Column::phone)) {
        result.error = QStringLiteral("la première ligne ne nomme aucune colonne connue "
                                      "(Nom, Fax, Numéro, Touche, Groupes).");
        return result;
    }
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const Row& row = rows[r];
        if (std::all_of(row.cells.begin(), row.cells.end(), [](const QString& cell) { return cell.trimmed().isEmpty(); }))
            continue;
        Contact contact;
        contact.line = row.line;
        QString phone;
        for (qsizetype i = 0; i < row.cells.size() && i < columns.size(); ++i) {
            const QString& cell = row.cells[i];
            switch (columns[i]) {
            case Column::name: contact.name = cell; break;
            case Column::fax: contact.fax = cell; break;
            case Column::secondFax: contact.secondFax = cell; break;
            case Column::phone: phone = cell; break;
            case Column::email: contact.email = cell; break;
            case Column::speedDial: contact.speedDial = cell; break;
            case Column::keys: contact.keys = Items(cell); break;
            case Column::groups: contact.groups = Items(cell, false); break;
            case Column::other: break;
            }
        }
        if (contact.fax.trimmed().isEmpty())
            contact.fax = phone;
        result.contacts << contact;
    }
    return result;
}

QString CsvCell(const QString& text)
{
    static const QRegularExpression special(QStringLiteral("[\",;\\r\\n\\t]|^\\s|\\s$"));
    if (!special.match(text).hasMatch())
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QByteArray WriteCsv(const CPhoneBook& book)
{
    QString text = QStringLiteral("Numéro,Nom,Fax,Second numéro,Courriel,Touche,Groupes") + lineEnd;
    for (const Contact& c : ExportedContacts(book)) {
        const QStringList cells{c.speedDial, c.name, c.fax, c.secondFax, c.email, c.keys.join(u';'), c.groups.join(u';')};
        QStringList written;
        for (const QString& cell : cells)
            written << CsvCell(cell);
        text += written.join(u',') + lineEnd;
    }
    // The byte-order mark tells spreadsheets the text is UTF-8.
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

// ---- vCard ----

// A value's escapes undone: "\n", "\,", "\;", "\\".
QString Unescaped(const QString& value)
{
    QString text;
    for (qsizetype at = 0; at < value.size(); ++at) {
        if (value[at] == u'\\' && at + 1 < value.size()) {
            const QChar next = value[++at];
            text += (next == u'n' || next == u'N') ? QChar(u'\n') : next;
        } else {
            text += value[at];
        }
    }
    return text;
}

// Splits at every `separator` that no backslash escapes; the parts keep their escapes.
QStringList SplitEscaped(const QString& value, QChar separator)
{
    QStringList parts{QString()};
    for (qsizetype at = 0; at < value.size(); ++at) {
        if (value[at] == u'\\' && at + 1 < value.size()) {
            parts.last() += value.mid(at, 2);
            ++at;
        } else if (value[at] == separator) {
            parts << QString();
        } else {
            parts.last() += value[at];
        }
    }
    return parts;
}

QByteArray QuotedPrintable(const QString& value)
{
    QByteArray bytes;
    const QByteArray ascii = value.toLatin1();
    for (qsizetype at = 0; at < ascii.size(); ++at) {
        if (ascii[at] == '=' && at + 2 < ascii.size()) {
            bool ok = false;
            const int byte = ascii.mid(at + 1, 2).toInt(&ok, 16);
            if (ok) {
                bytes += char(byte);
                at += 2;
                continue;
            }
        }
        if (ascii[at] != '=')
            bytes += ascii[at];
    }
    return bytes;
}

struct Property {
    QString name;              // upper case, without its group
    QStringList params;        // upper case: "TYPE=FAX", "FAX", "ENCODING=QUOTED-PRINTABLE"
    QString value;

    bool Has(const char* param) const
    {
        const QString wanted = QString::fromLatin1(param);
        for (const QString& p : params) {
            if (p == wanted)
                return true;
            // TYPE=fax,work and TYPE="fax,voice"
            if (p.startsWith(QLatin1String("TYPE="))) {
                QString types = p.mid(5);
                types.remove(u'"');
                if (types.split(u',').contains(wanted))
                    return true;
            }
        }
        return false;
    }
    QString Param(const char* name) const
    {
        const QString prefix = QString::fromLatin1(name) + u'=';
        for (const QString& p : params) {
            if (p.startsWith(prefix))
                return p.mid(prefix.size()).remove(u'"');
        }
        return QString();
    }
    // The text, its transfer encoding and character set undone.
    QString Text() const
    {
        if (!Has("QUOTED-PRINTABLE") && Param("ENCODING") != u"QUOTED-PRINTABLE")
            return value;
        const QByteArray bytes = QuotedPrintable(value);
        const QString charset = Param("CHARSET");
        if (!charset.isEmpty()) {
            QStringDecoder decoder(charset.toLatin1().constData());
            if (decoder.isValid())
                return decoder(bytes);
        }
        return DecodeText(bytes);
    }
};

// "item1.TEL;TYPE=fax:0140" split at the first colon outside quotes.
bool ParseProperty(const QString& line, Property& property)
{
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype at = 0; at < line.size() && colon < 0; ++at) {
        if (line[at] == u'"')
            quoted = !quoted;
        else if (line[at] == u':' && !quoted)
            colon = at;
    }
    if (colon <= 0)
        return false;
    QStringList head = line.left(colon).toUpper().split(u';');
    QString name = head.takeFirst();
    property.name = name.mid(name.lastIndexOf(u'.') + 1).trimmed();
    property.params = head;
    property.value = line.mid(colon + 1);
    return true;
}

// A tel: URI, or a text: the number without the URI's scheme.
QString TelValue(const Property& property)
{
    return Unescaped(property.Text()).trimmed();
}

void TakeProperty(const Property& p, Contact& contact, QString& fallbackName, QStringList& faxes, QString& firstPhone)
{
    if (p.name == u"FN") {
        contact.name = Unescaped(p.Text()).simplified();
    } else if (p.name == u"N") {
        // Family; given; additional; prefixes; suffixes.
        const QStringList parts = SplitEscaped(p.Text(), u';');
        QStringList words;
        for (int i : {3, 1, 2, 0, 4}) {
            const QString word = Unescaped(parts.value(i)).simplified();
            if (!word.isEmpty())
                words << word;
        }
        fallbackName = words.join(u' ');
    } else if (p.name == u"TEL") {
        if (p.Has("FAX"))
            faxes << TelValue(p);
        else if (firstPhone.isEmpty())
            firstPhone = TelValue(p);
    } else if (p.name == u"EMAIL") {
        if (contact.email.isEmpty())
            contact.email = Unescaped(p.Text()).trimmed();
    } else if (p.name == u"CATEGORIES") {
        for (const QString& category : SplitEscaped(p.Text(), u',')) {
            const QString group = Unescaped(category).trimmed();
            if (!group.isEmpty())
                contact.groups << group;
        }
    } else if (p.name == u"X-TAMSEL-SPEED-DIAL") {
        contact.speedDial = p.Text().trimmed();
    } else if (p.name == u"X-TAMSEL-ONE-TOUCH") {
        contact.keys << Items(p.Text());
    }
}

ReadResult ReadVCard(const QByteArray& bytes)
{
    ReadResult result;
    const QList<Line> lines = Lines(DecodeText(bytes));
    bool inCard = false;
    bool anyCard = false;
    int depth = 0;             // cards nested inside a card (2.1's AGENT) are passed over
    Contact contact;
    QString fallbackName, firstPhone;
    QStringList faxes;
    const auto endCard = [&] {
        if (contact.name.isEmpty())
            contact.name = fallbackName;
        contact.fax = faxes.value(0, firstPhone);
        contact.secondFax = faxes.value(1);
        result.contacts << contact;
        inCard = false;
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString text = lines[i].text;
        const int number = lines[i].number;
        // Folded lines go on after a space or a tab.
        while (i + 1 < lines.size() && (lines[i + 1].text.startsWith(u' ') || lines[i + 1].text.startsWith(u'\t')))
            text += lines[++i].text.mid(1);
        Property property;
        if (!ParseProperty(text, property))
            continue;
        // A quoted-printable value goes on after a "=" at the end of its line.
        if (property.Has("QUOTED-PRINTABLE") || property.Param("ENCODING") == u"QUOTED-PRINTABLE") {
            while (property.value.endsWith(u'=') && i + 1 < lines.size()) {
                property.value.chop(1);
                property.value += lines[++i].text;
            }
        }
        const QString value = property.value.trimmed().toUpper();
        if (property.name == u"BEGIN" && value == u"VCARD") {
            if (inCard && depth == 0) {
                ++depth;
                continue;
            }
            anyCard = true;
            inCard = true;
            depth = 0;
            contact = Contact();
            contact.line = number;
            fallbackName.clear();
            firstPhone.clear();
            faxes.clear();
            if (result.contacts.size() >= maxContacts)
                return TooMany();
        } else if (property.name == u"END" && value == u"VCARD" && inCard) {
            if (depth > 0)
                --depth;
            else
                endCard();
        } else if (inCard && depth == 0) {
            TakeProperty(property, contact, fallbackName, faxes, firstPhone);
        }
    }
    if (inCard)
        result.refused << Problem{contact.line, QStringLiteral("la fiche ne se termine pas par END:VCARD.")};
    if (!anyCard)
        result.error = QStringLiteral("le fichier ne contient aucune fiche vCard (BEGIN:VCARD).");
    return result;
}

QString VCardText(const QString& text)
{
    QString escaped;
    for (QChar c : text) {
        if (c == u'\\' || c == u',' || c == u';' || c == u'\n')
            escaped += u'\\';
        escaped += c == u'\n' ? QChar(u'n') : c;
    }
    return escaped;
}

// Lines of at most 75 bytes, as the format asks; a character is never cut.
QString Folded(const QString& line)
{
    QString folded;
    int bytes = 0;
    for (qsizetype at = 0; at < line.size(); ++at) {
        const bool pair = line[at].isHighSurrogate() && at + 1 < line.size();
        const QString c = line.mid(at, pair ? 2 : 1);
        const int size = int(c.toUtf8().size());
        if (bytes + size > 75) {
            folded += lineEnd + u' ';
            bytes = 1;
        }
        folded += c;
        bytes += size;
        at += pair ? 1 : 0;
    }
    return folded + lineEnd;
}

QByteArray WriteVCard(const CPhoneBook& book)
{
    QString text;
    for (const Contact& c : ExportedContacts(book)) {
        text += QStringLiteral("BEGIN:VCARD") + lineEnd + QStringLiteral("VERSION:3.0") + lineEnd;
        text += Folded(QStringLiteral("FN:") + VCardText(c.name));
        text += Folded(QStringLiteral("N:") + VCardText(c.name) + QStringLiteral(";;;;"));
        for (const QString& fax : {c.fax, c.secondFax}) {
            if (!fax.isEmpty())
                text += Folded(QStringLiteral("TEL;TYPE=fax:") + VCardText(fax));
        }
        if (!c.email.isEmpty())
            text += Folded(QStringLiteral("EMAIL;TYPE=internet:") + VCardText(c.email));
        if (!c.groups.isEmpty()) {
            QStringList categories;
            for (const QString& group : c.groups)
                categories << VCardText(group);
            text += Folded(QStringLiteral("CATEGORIES:") + categories.join(u','));
        }
        if (!c.speedDial.isEmpty())
            text += QStringLiteral("X-TAMSEL-SPEED-DIAL:") + c.speedDial + lineEnd;
        if (!c.keys.isEmpty())
            text += QStringLiteral("X-TAMSEL-ONE-TOUCH:") + c.keys.join(u',') + lineEnd;
        text += QStringLiteral("END:VCARD") + lineEnd;
    }
    return text.toUtf8();
}

// ---- LDIF ----

struct LdifRecord {
    int line = 0;
    QList<std::pair<QString, QString>> attributes;   // lower-case names, values as text

    QStringList Values(const char* name) const
    {
        QStringList values;
        for (const auto& [attribute, value] : attributes) {
            if (attribute == QLatin1String(name))
                values << value;
        }
        return values;
    }
};

// The attribute's name without its options ("cn;lang-fr"), in lower case.
QString AttributeName(const QString& text)
{
    return text.left(text.indexOf(u';') < 0 ? text.size() : text.indexOf(u';')).trimmed().toLower();
}

// A DN to compare: lower case, no spaces around its separators.
QString DnKey(const QString& dn)
{
    static const QRegularExpression spaces(QStringLiteral("\\s*([,=+])\\s*"));
    return dn.trimmed().toLower().replace(spaces, QStringLiteral("\\1"));
}

// "D" of "cn=D,ou=x": the entry's own name, its escapes undone.
QString FirstRdnValue(const QString& dn)
{
    QString value;
    bool inValue = false;
    for (qsizetype at = 0; at < dn.size(); ++at) {
        const QChar c = dn[at];
        if (!inValue) {
            inValue = c == u'=';
        } else if (c == u'\\' && at + 1 < dn.size()) {
            value += dn[++at];
        } else if (c == u',' || c == u'+') {
            break;
        } else {
            value += c;
        }
    }
    return value;
}

ReadResult ReadLdif(const QByteArray& bytes)
{
    ReadResult result;
    const QList<Line> lines = Lines(DecodeText(bytes));
    QList<LdifRecord> records;
    LdifRecord record;
    QString broken;            // why the record being read is refused
    bool anyDn = false;
    const auto endRecord = [&] {
        if (!broken.isEmpty())
            result.refused << Problem{record.line, broken};
        else if (!record.attributes.isEmpty())
            records << record;
        record = LdifRecord();
        broken.clear();
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString text = lines[i].text;
        const int number = lines[i].number;
        while (i + 1 < lines.size() && lines[i + 1].text.startsWith(u' '))
            text += lines[++i].text.mid(1);
        if (text.isEmpty()) {
            endRecord();
            continue;
        }
        if (text.startsWith(u'#'))
            continue;
        if (record.attributes.isEmpty() && broken.isEmpty())
            record.line = number;
        if (!broken.isEmpty())
            continue;
        const qsizetype colon = text.indexOf(u':');
        if (colon <= 0) {
            broken = QStringLiteral("la ligne %1 n'est pas de la forme « attribut: valeur ».").arg(number);
            continue;
        }
        const QString name = AttributeName(text.left(colon));
        QString value = text.mid(colon + 1);
        if (value.startsWith(u':')) {
            const auto decoded = QByteArray::fromBase64Encoding(value.mid(1).trimmed().toLatin1(),
                                                                 QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded) {
                broken = QStringLiteral("la valeur de %1 (ligne %2) n'est pas du base64 valide.").arg(name).arg(number);
                continue;
            }
            value = DecodeText(*decoded);
        } else if (value.startsWith(u'<')) {
            continue;          // a value by URL is not fetched
        } else {
            qsizetype start = 0;
            while (start < value.size() && value[start] == u' ')
                ++start;
            value = value.mid(start);
        }
        if (name == u"version" && record.attributes.isEmpty() && records.isEmpty())
            continue;
        if (record.attributes.isEmpty() && name != u"dn") {
            broken = QStringLiteral("l'entrée ne commence pas par « dn: ».");
            continue;
        }
        if (name == u"changetype" && value.trimmed().toLower() != u"add") {
            broken = QStringLiteral("l'entrée modifie l'annuaire LDAP (changetype: %1) au lieu d'en décrire un contact.")
                         .arg(value.trimmed());
            continue;
        }
        anyDn = anyDn || name == u"dn";
        record.attributes << std::pair{name, value};
        if (records.size() > maxContacts)
            return TooMany();
    }
    endRecord();
    if (!anyDn) {
        result.error = QStringLiteral("le fichier ne contient aucune entrée LDIF (dn:).");
        return result;
    }

    QHash<QString, qsizetype> contactOfDn;
    QList<const LdifRecord*> groups;
    for (const LdifRecord& entry : records) {
        QStringList classes = entry.Values("objectclass");
        for (QString& c : classes)
            c = c.trimmed().toLower();
        if (classes.contains(u"groupofnames") || classes.contains(u"groupofuniquenames")) {
            groups << &entry;
            continue;
        }
        const QStringList faxes = entry.Values("facsimiletelephonenumber");
        const QStringList phones = entry.Values("telephonenumber");
        const QStringList names = entry.Values("cn") + entry.Values("displayname");
        if (faxes.isEmpty() && phones.isEmpty() && names.isEmpty())
            continue;          // an organisational entry, not a person
        Contact contact;
        contact.line = entry.line;
        contact.fax = faxes.isEmpty() ? phones.value(0) : faxes.value(0);
        contact.secondFax = faxes.value(1);
        contact.email = entry.Values("mail").value(0);
        static const QRegularExpression entryNumber(QStringLiteral("^[0-9]{2,3}$"));
        const QStringList uids = entry.Values("uid");
        for (const QString& uid : uids) {
            if (!entryNumber.match(uid.trimmed()).hasMatch())
                continue;
            if (uid.trimmed().size() == CSpeedDial::digits)
                contact.speedDial = uid.trimmed();
            else
                contact.keys << uid.trimmed();
        }
        // A nameless entry was written with its number as its name.
        const QString name = (names.isEmpty() ? FirstRdnValue(entry.Values("dn").value(0)) : names.value(0)).simplified();
        contact.name = uids.contains(name) ? QString() : name;
        contactOfDn.insert(DnKey(entry.Values("dn").value(0)), result.contacts.size());
        result.contacts << contact;
    }
    for (const LdifRecord* group : groups) {
        const QString token = group->Values("cn").value(0).simplified();
        const QStringList members = group->Values("member") + group->Values("uniquemember");
        for (const QString& member : members) {
            const auto found = contactOfDn.constFind(DnKey(member));
            if (found != contactOfDn.constEnd() && !token.isEmpty())
                result.contacts[*found].groups << token;
        }
    }
    return result;
}

// An attribute value of a DN, its special characters escaped.
QString DnValue(const QString& value)
{
    QString escaped;
    for (qsizetype at = 0; at < value.size(); ++at) {
        const QChar c = value[at];
        if (QStringLiteral(",+\"\\<>;=").contains(c) || (at == 0 && (c == u' ' || c == u'#'))
            || (at == value.size() - 1 && c == u' '))
            escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

// "name: value", or "name:: base64" for a value that is not a plain ASCII text, folded at 76.
QString LdifLine(const QString& name, const QString& value)
{
    bool safe = !value.startsWith(u' ') && !value.startsWith(u':') && !value.startsWith(u'<') && !value.endsWith(u' ');
    for (QChar c : value)
        safe = safe && c.unicode() >= 0x20 && c.unicode() < 0x7F;
    const QString line = safe ? name + QStringLiteral(": ") + value
                              : name + QStringLiteral(":: ") + QString::fromLatin1(value.toUtf8().toBase64());
    QString folded = line.left(76);
    for (qsizetype at = 76; at < line.size(); at += 75)
        folded += lineEnd + u' ' + line.mid(at, 75);
    return folded + lineEnd;
}

QByteArray WriteLdif(const CPhoneBook& book)
{
    const QString base = QStringLiteral("ou=Annuaire");
    QString text = QStringLiteral("version: 1") + lineEnd + lineEnd;
    text += LdifLine(QStringLiteral("dn"), base) + LdifLine(QStringLiteral("objectClass"), QStringLiteral("top"))
            + LdifLine(QStringLiteral("objectClass"), QStringLiteral("organizationalUnit"))
            + LdifLine(QStringLiteral("ou"), QStringLiteral("Annuaire")) + lineEnd;
    QHash<QString, QStringList> membersOf;   // group token: member DNs
    QStringList groupOrder;
    int ordinal = 0;
    for (const Contact& c : ExportedContacts(book)) {
        // A key of its own has no speed-dial number: its key names it.
        const QString uid = c.speedDial.isEmpty() ? c.keys.value(0) : c.speedDial;
        const QString dn = QStringLiteral("uid=%1,").arg(uid.isEmpty() ? QString::number(++ordinal) : uid) + base;
        const QString name = c.name.isEmpty() ? uid : c.name;
        text += LdifLine(QStringLiteral("dn"), dn);
        for (const char* objectClass : {"top", "person", "organizationalPerson", "inetOrgPerson"})
            text += LdifLine(QStringLiteral("objectClass"), QString::fromLatin1(objectClass));
        if (!c.speedDial.isEmpty())
            text += LdifLine(QStringLiteral("uid"), c.speedDial);
        for (const QString& key : c.keys)
            text += LdifLine(QStringLiteral("uid"), key);
        text += LdifLine(QStringLiteral("cn"), name) + LdifLine(QStringLiteral("sn"), name);
        for (const QString& fax : {c.fax, c.secondFax}) {
            if (!fax.isEmpty())
                text += LdifLine(QStringLiteral("facsimileTelephoneNumber"), fax);
        }
        if (!c.email.isEmpty())
            text += LdifLine(QStringLiteral("mail"), c.email);
        text += lineEnd;
        for (const QString& group : c.groups) {
            if (!membersOf.contains(group))
                groupOrder << group;
            membersOf[group] << dn;
        }
    }
    for (const QString& group : groupOrder) {
        text += LdifLine(QStringLiteral("dn"), QStringLiteral("cn=") + DnValue(group) + u',' + base);
        text += LdifLine(QStringLiteral("objectClass"), QStringLiteral("top"))
                + LdifLine(QStringLiteral("objectClass"), QStringLiteral("groupOfNames"))
                + LdifLine(QStringLiteral("cn"), group);
        for (const QString& member : membersOf.value(group))
            text += LdifLine(QStringLiteral("member"), member);
        text += lineEnd;
    }
    return text.toUtf8();
}

} // namespace

ReadResult Read(Format format, const QByteArray& bytes)
{
    switch (format) {
    case Format::csv: return ReadCsv(bytes);
    case Format::vcard: return ReadVCard(bytes);
    case Format::ldif: return ReadLdif(bytes);
    case Format::none: break;
    }
    ReadResult result;
    result.error = QStringLiteral("format de fichier inconnu (CSV, vCard ou LDIF).");
    return result;
}

QByteArray Write(Format format, const CPhoneBook& phoneBook)
{
    switch (format) {
    case Format::csv: return WriteCsv(phoneBook);
    case Format::vcard: return WriteVCard(phoneBook);
    case Format::ldif: return WriteLdif(phoneBook);
    case Format::none: break;
    }
    return QByteArray();
}

} // namespace contacts
