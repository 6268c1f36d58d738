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
// The lines are views into the text, which must outlive them.
struct Line {
    int number;
    QStringView text;
};

QList<Line> Lines(QStringView text)
{
    QList<Line> lines;
    lines.reserve(text.count(u'\n') + 1);
    int number = 1;
    qsizetype start = 0;
    for (qsizetype at = 0; at <= text.size(); ++at) {
        if (at < text.size() && text[at] != u'\n' && text[at] != u'\r')
            continue;
        lines << Line{number++, text.sliced(start, at - start)};
        if (at + 1 < text.size() && text[at] == u'\r' && text[at + 1] == u'\n')
            ++at;
        start = at + 1;
    }
    return lines;
}

// A line with the lines folded after it (they begin with a space, or a tab when `tabs`),
// joined into `joined` when there are any; `i` moves to the last line taken.
QStringView Unfolded(const QList<Line>& lines, qsizetype& i, QString& joined, bool tabs)
{
    const auto folded = [&](qsizetype next) {
        return next < lines.size() && !lines[next].text.isEmpty()
               && (lines[next].text[0] == u' ' || (tabs && lines[next].text[0] == u'\t'));
    };
    if (!folded(i + 1))
        return lines[i].text;
    joined = lines[i].text.toString();
    while (folded(i + 1))
        joined += lines[++i].text.sliced(1);
    return joined;
}

// Keys of one cell or property, separated by ";" or ","; groups of a cell, by ";" only (a
// group's name may hold a comma).
QStringList Items(QStringView text, bool commas = true)
{
    QStringList items;
    qsizetype start = 0;
    for (qsizetype at = 0; at <= text.size(); ++at) {
        if (at < text.size() && text[at] != u';' && (!commas || text[at] != u','))
            continue;
        const QStringView item = text.sliced(start, at - start).trimmed();
        if (!item.isEmpty())
            items << item.toString();
        start = at + 1;
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
    for (POSITION pos = groups.GetHeadPosition(); pos != nullptr;) {
        const auto* group = static_cast<const CGroupDial*>(groups.GetNext(pos));
        Contact c;
        c.isGroup = true;
        c.groups << GroupToken(*group);
        c.keys = keysOf.value(group);
        contacts << c;
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

// The separator the heading line uses most, outside quotes: ",", ";" or a tab.
QChar Separator(QStringView text)
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

// The cells of one record, as views into the text or, for a quoted cell with doubled
// quotes, into a buffer of the reader's; valid until the next record is read.
class CsvReader {
public:
    CsvReader(QStringView text, QChar separator) : text(text), separator(separator) {}

    // The next record and the line it begins on; false at the end of the text. `broken`
    // is set, with the line of the quote, when a quoted cell never ends.
    bool Next(QList<QStringView>& cells, int& line)
    {
        cells.clear();
        if (at >= text.size())
            return false;
        line = lineNumber;
        for (qsizetype cell = 0;; ++cell) {
            if (buffers.size() <= cell)
                buffers.resize(cell + 1);
            cells << Cell(buffers[cell]);
            if (broken)
                return false;
            if (at < text.size() && text[at] == separator) {
                ++at;
                continue;
            }
            if (at < text.size())
                at += (text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') ? 2 : 1;
            ++lineNumber;
            return true;
        }
    }

    bool broken = false;
    int openLine = 0;

private:
    bool LineEnd(qsizetype i) const { return text[i] == u'\n' || text[i] == u'\r'; }

    QStringView Cell(QString& buffer)
    {
        const qsizetype size = text.size();
        if (at >= size || text[at] != u'"') {
            const qsizetype start = at;
            while (at < size && text[at] != separator && !LineEnd(at))
                ++at;
            return text.sliced(start, at - start);
        }
        openLine = lineNumber;
        buffer.resize(0);
        qsizetype run = ++at;
        bool doubled = false;
        for (;; ++at) {
            if (at >= size) {
                broken = true;
                return {};
            }
            if (text[at] == u'\n' || (text[at] == u'\r' && (at + 1 >= size || text[at + 1] != u'\n')))
                ++lineNumber;
            if (text[at] != u'"')
                continue;
            if (at + 1 < size && text[at + 1] == u'"') {
                buffer += text.sliced(run, at + 1 - run);
                run = ++at + 1;
                doubled = true;
                continue;
            }
            break;
        }
        const QStringView quoted = text.sliced(run, at - run);
        ++at;
        // Text after the closing quote is taken as it is.
        const qsizetype rest = at;
        while (at < size && text[at] != separator && !LineEnd(at))
            ++at;
        if (!doubled && rest == at)
            return quoted;
        buffer += quoted;
        buffer += text.sliced(rest, at - rest);
        return buffer;
    }

    QStringView text;
    QChar separator;
    qsizetype at = 0;
    int lineNumber = 1;
    QList<QString> buffers;
};

// Whether a spreadsheet would take the cell for a formula: it begins with "=", "+", "-", "@",
// a tab or a carriage return, past any apostrophes already there (so that the one added can
// be told from the cell's own). A sign before digits and spaces alone is left as it is:
// "+33 1 40 50 60 70" stays a number to a spreadsheet, and cannot call or compute anything.
bool NeedsFormulaGuard(QStringView cell)
{
    while (cell.startsWith(u'\''))
        cell = cell.sliced(1);
    if (cell.isEmpty() || !QStringView(u"=+-@\t\r").contains(cell.front()))
        return false;
    const QStringView rest = cell.sliced(1);
    const bool signedNumber = (cell.front() == u'+' || cell.front() == u'-') && !rest.trimmed().isEmpty()
                              && std::all_of(rest.begin(), rest.end(), [](QChar c) { return c == u' ' || (c >= u'0' && c <= u'9'); });
    return !signedNumber;
}

// A cell as it was written: the apostrophe that kept a spreadsheet from computing it taken off.
QStringView FormulaUnguarded(QStringView cell)
{
    return cell.startsWith(u'\'') && NeedsFormulaGuard(cell.sliced(1)) ? cell.sliced(1) : cell;
}

ReadResult ReadCsv(const QByteArray& bytes)
{
    ReadResult result;
    const QString text = DecodeText(bytes);
    CsvReader reader(text, Separator(text));
    QList<QStringView> cells;
    int line = 0;
    QList<Column> columns;
    if (reader.Next(cells, line)) {
        for (QStringView heading : cells)
            columns << ColumnOf(heading.toString());
    }
    if (!reader.broken && !columns.contains(Column::name) && !columns.contains(Column::fax)
        && !columns.contains(Column::phone)) {
        result.error = QStringLiteral("la première ligne ne nomme aucune colonne connue "
                                      "(Nom, Fax, Numéro, Touche, Groupes).");
        return result;
    }
    while (reader.Next(cells, line)) {
        if (std::all_of(cells.begin(), cells.end(), [](QStringView cell) { return cell.trimmed().isEmpty(); }))
            continue;
        if (result.contacts.size() >= maxContacts)
            return TooMany();
        Contact contact;
        contact.line = line;
        QStringView phone;
        for (qsizetype i = 0; i < cells.size() && i < columns.size(); ++i) {
            const QStringView cell = FormulaUnguarded(cells[i]);
            switch (columns[i]) {
            case Column::name: contact.name = cell.toString(); break;
            case Column::fax: contact.fax = cell.toString(); break;
            case Column::secondFax: contact.secondFax = cell.toString(); break;
            case Column::phone: phone = cell; break;
            case Column::email: contact.email = cell.toString(); break;
            case Column::speedDial: contact.speedDial = cell.toString(); break;
            case Column::keys: contact.keys = Items(cell); break;
            case Column::groups: contact.groups = Items(cell, false); break;
            case Column::other: break;
            }
        }
        if (QStringView(contact.fax).trimmed().isEmpty())
            contact.fax = phone.toString();
        const auto blank = [](const QString& cell) { return QStringView(cell).trimmed().isEmpty(); };
        contact.isGroup = contact.groups.size() == 1 && blank(contact.name) && blank(contact.fax)
                          && blank(contact.secondFax) && blank(contact.email) && blank(contact.speedDial);
        result.contacts << std::move(contact);
    }
    if (reader.broken) {
        result.contacts.clear();
        result.error = QStringLiteral("ligne %1 : des guillemets ouverts ne sont jamais fermés.").arg(reader.openLine);
    }
    return result;
}

QString CsvCell(const QString& text)
{
    static const QRegularExpression special(QStringLiteral("[\",;\\r\\n\\t]|^\\s|\\s$"));
    const QString cell = NeedsFormulaGuard(text) ? u'\'' + text : text;
    if (!special.match(cell).hasMatch())
        return cell;
    return u'"' + QString(cell).replace(u'"', QStringLiteral("\"\"")) + u'"';
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
QString Unescaped(QStringView value)
{
    if (!value.contains(u'\\'))
        return value.toString();
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
QList<QStringView> SplitEscaped(QStringView value, QChar separator)
{
    QList<QStringView> parts;
    qsizetype start = 0;
    for (qsizetype at = 0; at < value.size(); ++at) {
        if (value[at] == u'\\')
            ++at;
        else if (value[at] == separator) {
            parts << value.sliced(start, at - start);
            start = at + 1;
        }
    }
    parts << value.sliced(std::min(start, value.size()));
    return parts;
}

QByteArray DecodeQuotedPrintable(QStringView value)
{
    QByteArray bytes;
    const auto hex = [](QChar c) {
        const char16_t u = c.unicode();
        return u >= '0' && u <= '9' ? u - '0' : u >= 'A' && u <= 'F' ? u - 'A' + 10 : u >= 'a' && u <= 'f' ? u - 'a' + 10 : -1;
    };
    for (qsizetype at = 0; at < value.size(); ++at) {
        if (value[at] == u'=') {
            if (at + 2 < value.size() && hex(value[at + 1]) >= 0 && hex(value[at + 2]) >= 0) {
                bytes += char(hex(value[at + 1]) * 16 + hex(value[at + 2]));
                at += 2;
            }
            continue;
        }
        if (value[at].unicode() < 0x80)
            bytes += char(value[at].unicode());
        else
            bytes += value.sliced(at, 1).toUtf8();
    }
    return bytes;
}

// Whether the text is `name`, ASCII letters in either case (names and parameters of vCard are
// ASCII).
bool Is(QStringView text, const char* name)
{
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    qsizetype at = 0;
    for (; name[at] != '\0'; ++at) {
        if (at >= text.size() || lower(text[at].unicode()) != lower(char16_t(uchar(name[at]))))
            return false;
    }
    return at == text.size();
}

// One content line, as views into it: "item1.TEL;TYPE=fax:0140".
struct Property {
    QStringView name;          // without its group
    QStringView params;        // "TYPE=fax;CHARSET=UTF-8", or 2.1's bare "FAX"
    QStringView value;

    // A bare parameter (2.1's "FAX") or one of the types of TYPE ("TYPE=fax,work", "TYPE=\"fax\"").
    bool Has(const char* wanted) const
    {
        for (QStringView param : params.tokenize(u';')) {
            if (Is(param, wanted))
                return true;
            if (param.size() > 5 && Is(param.first(5), "TYPE=")) {
                for (QStringView type : Unquoted(param.sliced(5)).tokenize(u',')) {
                    if (Is(type.trimmed(), wanted))
                        return true;
                }
            }
        }
        return false;
    }
    QStringView Param(const char* wanted) const
    {
        const qsizetype length = qsizetype(qstrlen(wanted));
        for (QStringView param : params.tokenize(u';')) {
            if (param.size() > length && param[length] == u'=' && Is(param.first(length), wanted))
                return Unquoted(param.sliced(length + 1));
        }
        return {};
    }
    bool QuotedPrintable() const
    {
        return params.contains(QLatin1StringView("QUOTED-PRINTABLE"), Qt::CaseInsensitive);
    }
    // The value, its transfer encoding and character set undone (its escapes kept).
    QString Raw() const
    {
        if (!QuotedPrintable())
            return value.toString();
        const QByteArray bytes = DecodeQuotedPrintable(value);
        const QStringView charset = Param("CHARSET");
        if (!charset.isEmpty()) {
            QStringDecoder decoder(charset.toLatin1().constData());
            if (decoder.isValid())
                return decoder(bytes);
        }
        return DecodeText(bytes);
    }
    QString Text() const { return QuotedPrintable() ? Unescaped(Raw()) : Unescaped(value); }

    static QStringView Unquoted(QStringView text)
    {
        text = text.trimmed();
        if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"')
            return text.sliced(1, text.size() - 2);
        return text;
    }
};

// Split at the first colon outside quotes.
bool ParseProperty(QStringView line, Property& property)
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
    const QStringView head = line.first(colon);
    const qsizetype semicolon = head.indexOf(u';');
    QStringView name = semicolon < 0 ? head : head.first(semicolon);
    name = name.sliced(name.lastIndexOf(u'.') + 1).trimmed();
    property.name = name;
    property.params = semicolon < 0 ? QStringView() : head.sliced(semicolon + 1);
    property.value = line.sliced(colon + 1);
    return true;
}

struct Card {
    Contact contact;
    bool isGroup = false;
    QString structuredName;    // N's value, for a card without FN
    QStringList faxes;
    QString firstPhone;
};

// The name N gives: "prefixes given additional family suffixes".
QString StructuredName(const QString& raw)
{
    // Family; given; additional; prefixes; suffixes.
    const QList<QStringView> parts = SplitEscaped(raw, u';');
    QStringList words;
    for (int i : {3, 1, 2, 0, 4}) {
        const QString word = i < parts.size() ? Unescaped(parts[i]).simplified() : QString();
        if (!word.isEmpty())
            words << word;
    }
    return words.join(u' ');
}

void TakeProperty(const Property& p, Card& card)
{
    Contact& contact = card.contact;
    if (Is(p.name, "FN")) {
        contact.name = Simplified(p.Text());
    } else if (Is(p.name, "N")) {
        card.structuredName = p.Raw();
    } else if (Is(p.name, "TEL")) {
        if (p.Has("FAX"))
            card.faxes << p.Text().trimmed();
        else if (card.firstPhone.isEmpty())
            card.firstPhone = p.Text().trimmed();
    } else if (Is(p.name, "EMAIL")) {
        if (contact.email.isEmpty())
            contact.email = p.Text().trimmed();
    } else if (Is(p.name, "CATEGORIES")) {
        const QString raw = p.Raw();
        for (QStringView category : SplitEscaped(raw, u',')) {
            const QString group = Unescaped(category).trimmed();
            if (!group.isEmpty())
                contact.groups << group;
        }
    } else if (Is(p.name, "KIND") || Is(p.name, "X-ADDRESSBOOKSERVER-KIND")) {
        card.isGroup = Is(p.value.trimmed(), "group");
    } else if (Is(p.name, "X-TAMSEL-SPEED-DIAL")) {
        contact.speedDial = p.Text().trimmed();
    } else if (Is(p.name, "X-TAMSEL-ONE-TOUCH")) {
        contact.keys << Items(p.Text());
    }
}

ReadResult ReadVCard(const QByteArray& bytes)
{
    ReadResult result;
    const QString text = DecodeText(bytes);
    const QList<Line> lines = Lines(text);
    bool inCard = false;
    bool anyCard = false;
    int depth = 0;             // cards nested inside a card (2.1's AGENT) are passed over
    Card card;
    QString joined;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = lines[i].number;
        // Folded lines go on after a space or a tab.
        QStringView line = Unfolded(lines, i, joined, true);
        Property property;
        if (!ParseProperty(line, property))
            continue;
        // A quoted-printable value goes on after a "=" at the end of its line.
        if (property.value.endsWith(u'=') && property.QuotedPrintable()) {
            QString value = property.value.toString();
            while (value.endsWith(u'=') && i + 1 < lines.size()) {
                value.chop(1);
                value += lines[++i].text;
            }
            joined = line.first(line.size() - property.value.size()).toString() + value;
            ParseProperty(joined, property);
        }
        const bool vcard = Is(property.value.trimmed(), "VCARD");
        if (Is(property.name, "BEGIN") && vcard) {
            if (inCard) {
                ++depth;
                continue;
            }
            if (result.contacts.size() >= maxContacts)
                return TooMany();
            anyCard = inCard = true;
            card = Card();
            card.contact.line = number;
        } else if (Is(property.name, "END") && vcard && inCard) {
            if (depth > 0) {
                --depth;
                continue;
            }
            Contact& contact = card.contact;
            if (contact.name.isEmpty())
                contact.name = StructuredName(card.structuredName);
            if (card.isGroup) {
                // Its members name it among their categories.
                contact.isGroup = true;
                contact.groups = QStringList{contact.name};
            }
            contact.fax = card.faxes.value(0, card.firstPhone);
            contact.secondFax = card.faxes.value(1);
            result.contacts << std::move(contact);
            inCard = false;
        } else if (inCard && depth == 0) {
            TakeProperty(property, card);
        }
    }
    if (inCard)
        result.refused << Problem{card.contact.line, QStringLiteral("la fiche ne se termine pas par END:VCARD.")};
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
        // A group's card is named by the group, as its members' categories name it.
        const QString name = c.isGroup ? c.groups.value(0) : c.name;
        text += QStringLiteral("BEGIN:VCARD") + lineEnd + QStringLiteral("VERSION:3.0") + lineEnd;
        if (c.isGroup)
            text += QStringLiteral("X-ADDRESSBOOKSERVER-KIND:group") + lineEnd;
        text += Folded(QStringLiteral("FN:") + VCardText(name));
        text += Folded(QStringLiteral("N:") + VCardText(name) + QStringLiteral(";;;;"));
        for (const QString& fax : {c.fax, c.secondFax}) {
            if (!fax.isEmpty())
                text += Folded(QStringLiteral("TEL;TYPE=fax:") + VCardText(fax));
        }
        if (!c.email.isEmpty())
            text += Folded(QStringLiteral("EMAIL;TYPE=internet:") + VCardText(c.email));
        if (!c.isGroup && !c.groups.isEmpty()) {
            QStringList categories;
            for (const QString& group : c.groups)
                categories << VCardText(group);
            text += Folded(QStringLiteral("CATEGORIES:") + categories.join(u','));
        }
        if (!c.speedDial.isEmpty())
            text += QStringLiteral("X-TAMSEL-SPEED-DIAL:") + c.speedDial + lineEnd;
        // One property a key: readers take a comma in an unknown property's value as part of
        // it, or cut the value there.
        for (const QString& key : c.keys)
            text += QStringLiteral("X-TAMSEL-ONE-TOUCH:") + key + lineEnd;
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

// The entry numbers of an entry's uid values: three digits a speed dial, two a key.
void TakeEntryNumbers(const LdifRecord& entry, Contact& contact)
{
    static const QRegularExpression entryNumber(QStringLiteral("^[0-9]{2,3}$"));
    for (const QString& uid : entry.Values("uid")) {
        if (!entryNumber.match(uid.trimmed()).hasMatch())
            continue;
        if (uid.trimmed().size() == CSpeedDial::digits)
            contact.speedDial = uid.trimmed();
        else
            contact.keys << uid.trimmed();
    }
}

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
    const QString decoded = DecodeText(bytes);
    const QList<Line> lines = Lines(decoded);
    QString joined;
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
        const int number = lines[i].number;
        const QString text = Unfolded(lines, i, joined, false).toString();
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
        TakeEntryNumbers(entry, contact);
        const QStringList uids = entry.Values("uid");
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
        Contact record;
        record.line = group->line;
        record.isGroup = true;
        record.groups << token;
        TakeEntryNumbers(*group, record);
        result.contacts << record;
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
    int ordinal = 0;
    // Groups come after the contacts, which tell their members.
    for (const Contact& c : ExportedContacts(book)) {
        if (c.isGroup) {
            const QString group = c.groups.value(0);
            const QString dn = QStringLiteral("cn=") + DnValue(group) + u',' + base;
            text += LdifLine(QStringLiteral("dn"), dn);
            text += LdifLine(QStringLiteral("objectClass"), QStringLiteral("top"))
                    + LdifLine(QStringLiteral("objectClass"), QStringLiteral("groupOfNames"));
            // The keys that stand for the group, as uid values (which groupOfNames lacks).
            if (!c.keys.isEmpty())
                text += LdifLine(QStringLiteral("objectClass"), QStringLiteral("uidObject"));
            text += LdifLine(QStringLiteral("cn"), group);
            for (const QString& key : c.keys)
                text += LdifLine(QStringLiteral("uid"), key);
            // groupOfNames must have a member: an empty group is its own.
            const QStringList members = membersOf.value(group, QStringList{dn});
            for (const QString& member : members)
                text += LdifLine(QStringLiteral("member"), member);
            text += lineEnd;
            continue;
        }
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
        for (const QString& group : c.groups)
            membersOf[group] << dn;
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
