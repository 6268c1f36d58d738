#include "device/lib/contacts.h"

#include "device/lib/dialstring.h"
#include "device/lib/phonebook.h"
#include "device/lib/serialformat.h"

#include <QFileInfo>
#include <QHash>
#include <QStringBuilder>
#include <QStringDecoder>

#include <algorithm>
#include <optional>
#include <set>

namespace contacts {

Format FormatOfPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"csv")
        return Format::csv;
    if (suffix == u"vcf" || suffix == u"vcard")
        return Format::vcard;
    if (suffix == u"ldif" || suffix == u"ldi")
        return Format::ldif;
    return Format::none;
}

Format FormatNamed(const QString& name)
{
    return FormatOfPath(QStringLiteral("x.") + name);
}

const FieldRules& DirectoryFieldRules()
{
    // The dialing record's rules, and the fax-number field's own (its text is free in the record).
    static const FieldRules rules = [] {
        const QString faxCharacters = QString::fromLatin1(faxNumberCharacters);
        return FieldRules{fields::RuleOf(&CDialingData::name).maxLength, faxNumberLength, faxCharacters,
                          faxCharacters.contains(u'+'), fields::RuleOf(&CDialingData::emailAddress).maxLength};
    }();
    return rules;
}

QString DecodeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return utf16(QByteArrayView(bytes).sliced(2));
    }
    const QByteArrayView body = bytes.startsWith("\xEF\xBB\xBF") ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows1252("windows-1252");
    return windows1252.isValid() ? windows1252(body) : QString::fromLatin1(body);
}

QString Simplified(const QString& text)
{
    bool plain = text.isEmpty() || (!text.front().isSpace() && !text.back().isSpace());
    for (qsizetype at = 1; plain && at < text.size(); ++at)
        plain = !text[at].isSpace() || (text[at] == u' ' && !text[at - 1].isSpace());
    return plain ? text : text.simplified();
}

QString ReportLine::KindText() const
{
    switch (kind) {
    case added: return QStringLiteral("Ajoutée");
    case replaced: return QStringLiteral("Remplacée");
    case refused: return QStringLiteral("Refusée");
    case note: break;
    }
    return QStringLiteral("Remarque");
}

QString ReportLine::Printed() const
{
    const QString where = line > 0 ? QStringLiteral("ligne %1 : ").arg(line) : QString();
    return where + KindText() + QStringLiteral(" : ") + text;
}

QString ImportPlan::Summary() const
{
    const auto count = [](int n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n > 1 ? many : one));
    };
    return count(added, "ajoutée", "ajoutées") + QStringLiteral(", ") + count(replaced, "remplacée", "remplacées")
           + QStringLiteral(", ") + count(refused, "refusée", "refusées") + QStringLiteral(", ")
           + count(unchanged, "inchangée", "inchangées") + QLatin1Char('.');
}

namespace {

QString Quoted(const QString& text)
{
    return u"« " % text % u" »";
}

// A number of the file brought to the dial string the fax-number field holds: dashes, dots,
// brackets and slashes dropped, spaces kept, a billing code after "$" kept. Empty, with the
// reason, when it cannot be one.
QString DialString(const QString& raw, QString& reason, QStringList& notes)
{
    const FieldRules& rules = DirectoryFieldRules();
    QStringView text = QStringView(raw).trimmed();
    if (text.startsWith(u"tel:", Qt::CaseInsensitive)) {
        text = text.sliced(4);
        const qsizetype parameters = text.indexOf(u';');   // the URI's
        if (parameters >= 0)
            text.truncate(parameters);
    }
    const qsizetype mark = text.indexOf(u'$');
    const QStringView code = mark < 0 ? QStringView() : text.sliced(mark + 1);
    QString dialled;
    dialled.reserve(text.size() + 1);
    bool plus = false;
    bool anyDialled = false;   // other than spaces
    for (QChar c : mark < 0 ? text : text.first(mark)) {
        if (c == u'\u00A0' || c == u'\u202F' || c == u'\t')
            c = u' ';
        if (c == u'+' && !anyDialled && !plus) {
            plus = true;
        } else if (c == u'-' || c == u'.' || c == u'(' || c == u')' || c == u'/' || c == u'[' || c == u']') {
            continue;
        } else if (rules.faxCharacters.contains(c)) {
            dialled += c;
            anyDialled = anyDialled || c != u' ';
        } else {
            reason = QStringLiteral("le numéro %1 contient %2, que le champ du numéro de fax n'accepte pas.")
                         .arg(Quoted(raw), Quoted(c));
            return QString();
        }
    }
    dialled = dialled.trimmed();
    if (dialled.isEmpty()) {
        reason = raw.trimmed().isEmpty() ? QStringLiteral("aucun numéro de fax.")
                                         : QStringLiteral("le numéro %1 ne compose rien.").arg(Quoted(raw));
        return QString();
    }
    const QLatin1StringView billingCharacters(billingCodeCharacters);
    if (!std::all_of(code.begin(), code.end(), [&](QChar c) { return billingCharacters.contains(c); })) {
        reason = QStringLiteral("le code de facturation du numéro %1 n'est pas fait de 0-9, # et *.").arg(Quoted(raw));
        return QString();
    }
    if (plus && rules.plusAllowed)
        dialled.prepend(u'+');
    else if (plus)
        notes << QStringLiteral("le « + » initial du numéro %1 est retiré : le champ ne l'accepte pas, "
                                "composez le préfixe international.").arg(Quoted(raw));
    const QString stored = code.isEmpty() ? dialled : dialled % u'$' % code;
    const qsizetype counted = stored.size() - stored.count(u' ') - (stored.startsWith(u'+') ? 1 : 0);
    if (counted > rules.faxNumberLength) {
        reason = QStringLiteral("le numéro %1 dépasse %2 caractères.").arg(Quoted(raw)).arg(rules.faxNumberLength);
        return QString();
    }
    return stored;
}

// A whole number of 1 to `highest` written with one to five digits (0-9), spaces around it
// allowed; 0 otherwise.
int EntryNumber(QStringView text, int highest)
{
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 5)
        return 0;
    int n = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return 0;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n >= 1 && n <= highest ? n : 0;
}

// A name cut to its field, with a note when it was.
QString FieldName(const QString& name, QStringList& notes)
{
    const int most = DirectoryFieldRules().nameLength;
    const QString trimmed = Simplified(name);
    if (trimmed.size() <= most)
        return trimmed;
    const QString cut = trimmed.left(most).trimmed();
    notes << u"le nom " % Quoted(trimmed) % u" est raccourci à " % QString::number(most) % u" caractères : "
                 % Quoted(cut) % u'.';
    return cut;
}

struct GroupRef {
    int number = 0;            // 0: by name
    QString name;
};

// "Ventes (0002)", "Ventes" or "(0002)".
bool ParseGroup(const QString& token, GroupRef& group, QString& reason, QStringList& notes)
{
    const QStringView trimmed = QStringView(token).trimmed();
    QStringView name = trimmed;
    const qsizetype open = trimmed.endsWith(u')') ? trimmed.lastIndexOf(u'(') : -1;
    const QStringView number = open < 0 ? QStringView() : trimmed.sliced(open + 1, trimmed.size() - open - 2).trimmed();
    if (!number.isEmpty() && number.size() <= 5
        && std::all_of(number.begin(), number.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        group.number = EntryNumber(number, CGroupDial::max_count);
        if (group.number == 0) {
            reason = QStringLiteral("le groupe %1 n'a pas un numéro de 0001 à %2.")
                         .arg(Quoted(token), FormatId(CGroupDial::max_count, CGroupDial::digits));
            return false;
        }
        name = trimmed.first(open);
    }
    group.name = FieldName(name.toString(), notes);
    if (group.number == 0 && group.name.isEmpty()) {
        reason = QStringLiteral("un groupe sans nom ni numéro.");
        return false;
    }
    return true;
}

// A contact brought to the directory's rules.
struct Entry {
    int line = 0;
    QString name;
    QString fax;
    QString faxKey;            // the fax number as duplicates are told
    QString secondFax;
    QString email;
    int speedDial = 0;
    std::set<int> keys;
    QList<GroupRef> groups;
    QStringList notes;
    bool isGroup = false;      // a group's own record: groups holds the group, keys stand for it
};

// The speed dial's fields of a contact brought to the rules; false with the reason when it is
// refused.
bool PrepareDialing(const Contact& contact, Entry& entry, QString& reason)
{
    entry.name = FieldName(contact.name, entry.notes);
    entry.fax = DialString(contact.fax, reason, entry.notes);
    if (entry.fax.isEmpty())
        return false;
    if (!contact.secondFax.trimmed().isEmpty()) {
        QString secondReason;
        entry.secondFax = DialString(contact.secondFax, secondReason, entry.notes);
        if (entry.secondFax.isEmpty()) {
            reason = QStringLiteral("second numéro : ") + secondReason;
            return false;
        }
    }
    entry.email = contact.email.trimmed();
    if (entry.email.size() > DirectoryFieldRules().emailLength) {
        reason = QStringLiteral("l'adresse électronique dépasse %1 caractères.").arg(DirectoryFieldRules().emailLength);
        return false;
    }
    if (!contact.speedDial.trimmed().isEmpty()) {
        entry.speedDial = EntryNumber(contact.speedDial, CSpeedDial::max_count);
        if (entry.speedDial == 0) {
            reason = QStringLiteral("le numéro de composition abrégée %1 n'est pas de 001 à %2.")
                         .arg(Quoted(contact.speedDial), FormatId(CSpeedDial::max_count, CSpeedDial::digits));
            return false;
        }
    }
    return true;
}

// Brings a contact to the rules; false with the reason when it is refused.
bool Prepare(const Contact& contact, Entry& entry, QString& reason)
{
    entry.line = contact.line;
    entry.isGroup = contact.isGroup;
    if (!contact.isGroup && !PrepareDialing(contact, entry, reason))
        return false;
    for (const QString& key : contact.keys) {
        const int n = EntryNumber(key, COneTouch::max_count);
        if (n == 0) {
            reason = QStringLiteral("la touche %1 n'est pas de 01 à %2.")
                         .arg(Quoted(key), FormatId(COneTouch::max_count, COneTouch::digits));
            return false;
        }
        entry.keys.insert(n);
    }
    for (const QString& token : contact.groups) {
        GroupRef group;
        if (!ParseGroup(token, group, reason, entry.notes))
            return false;
        entry.groups << group;
    }
    return true;
}

QString SpeedDialText(int number, const QString& name)
{
    return u"composition abrégée " % static_cast<const QString&>(FormatId(number, CSpeedDial::digits)) % u' ' % Quoted(name);
}

QString GroupText(const CGroupDial& group)
{
    return QStringLiteral("groupe %1 %2").arg(FormatId(group.GetId(), CGroupDial::digits), Quoted(group.name));
}

class Planner {
public:
    Planner(const CPhoneBook& current, ImportPlan& plan) : plan(plan)
    {
        plan.result = std::make_unique<CPhoneBook>();
        serialformat::LoadFromBytes(*plan.result, serialformat::StoreToBytes(const_cast<CPhoneBook&>(current)));
        book = plan.result.get();
        const CObList& speedDials = book->GetSpeedDials();
        for (POSITION pos = speedDials.GetHeadPosition(); pos != nullptr;) {
            auto* held = static_cast<CSpeedDial*>(speedDials.GetNext(pos));
            const QString key = SameNumberKey(held->GetDialingData()->faxNumber);
            if (!numberOfFax.contains(key))
                numberOfFax.insert(key, held->GetId());
        }
        const CObList& groups = book->GetGroupDials();
        for (POSITION pos = groups.GetHeadPosition(); pos != nullptr;)
            KnowGroup(static_cast<CGroupDial*>(groups.GetNext(pos)));
        batch.emplace(*book);
    }

    void Run(const ReadResult& read)
    {
        QList<Entry> entries;
        entries.reserve(read.contacts.size());
        for (const Problem& problem : read.refused)
            Refuse(problem.line, problem.reason);
        for (const Contact& contact : read.contacts) {
            Entry entry;
            QString reason;
            if (Prepare(contact, entry, reason))
                entries << std::move(entry);
            else
                Refuse(contact.line, reason);
        }
        entries = Merged(entries);
        Reserve(entries);
        for (Entry& entry : entries)
            Apply(entry);
        batch.reset();
        std::stable_sort(plan.lines.begin(), plan.lines.end(),
                         [](const ReportLine& a, const ReportLine& b) { return a.line < b.line; });
    }

private:
    void Add(ReportLine::Kind kind, int line, const QString& text) { plan.lines << ReportLine{kind, line, text}; }

    void Refuse(int line, const QString& reason)
    {
        Add(ReportLine::refused, line, reason);
        ++plan.refused;
    }

    // A fax number as a duplicate is told: its spaces do not count.
    static QString SameNumberKey(const QString& dialString)
    {
        return dialString.contains(u' ') ? QString(dialString).remove(u' ') : dialString;
    }

    // Entries of one fax number become one: the first, completed by the later ones.
    QList<Entry> Merged(QList<Entry>& entries)
    {
        QList<Entry> merged;
        merged.reserve(entries.size());
        QHash<QString, qsizetype> byFax;
        byFax.reserve(entries.size());
        for (Entry& entry : entries) {
            if (entry.isGroup) {
                merged << std::move(entry);
                continue;
            }
            entry.faxKey = SameNumberKey(entry.fax);
            const auto found = byFax.constFind(entry.faxKey);
            if (found == byFax.constEnd()) {
                byFax.insert(entry.faxKey, merged.size());
                merged << std::move(entry);
                continue;
            }
            Entry& first = merged[*found];
            QStringList& notes = first.notes;
            notes << entry.notes;
            notes << QStringLiteral("la ligne %1 a le même numéro de fax : elle est réunie avec celle-ci.").arg(entry.line);
            if (first.name.isEmpty())
                first.name = entry.name;
            if (first.secondFax.isEmpty())
                first.secondFax = entry.secondFax;
            if (first.email.isEmpty())
                first.email = entry.email;
            if (first.speedDial == 0)
                first.speedDial = entry.speedDial;
            first.keys.insert(entry.keys.begin(), entry.keys.end());
            first.groups << entry.groups;
        }
        return merged;
    }

    // Numbers the file gives are taken first, each by its first line; a later line that gives
    // a taken number or key is refused.
    void Reserve(QList<Entry>& entries)
    {
        QHash<int, int> speedDialLines;
        QHash<int, int> keyLines;
        QList<Entry> kept;
        kept.reserve(entries.size());
        for (Entry& entry : entries) {
            if (entry.speedDial != 0 && speedDialLines.contains(entry.speedDial)) {
                Refuse(entry.line, QStringLiteral("la composition abrégée %1 est déjà donnée ligne %2.")
                                       .arg(FormatId(entry.speedDial, CSpeedDial::digits))
                                       .arg(speedDialLines.value(entry.speedDial)));
                continue;
            }
            bool taken = false;
            for (int key : entry.keys) {
                if (keyLines.contains(key) && !taken) {
                    Refuse(entry.line, QStringLiteral("la touche %1 est déjà donnée ligne %2.")
                                           .arg(FormatId(key, COneTouch::digits))
                                           .arg(keyLines.value(key)));
                    taken = true;
                }
            }
            if (taken)
                continue;
            if (entry.speedDial != 0)
                speedDialLines.insert(entry.speedDial, entry.line);
            for (int key : entry.keys)
                keyLines.insert(key, entry.line);
            for (const GroupRef& group : entry.groups) {
                if (group.number != 0)
                    reservedGroups.insert(group.number);
            }
            kept << std::move(entry);
        }
        entries = std::move(kept);
        for (const Entry& entry : entries) {
            if (entry.speedDial != 0)
                reservedSpeedDials.insert(entry.speedDial);
        }
    }

    // The speed dial an entry without a number goes to: the one holding its fax number, else
    // the lowest free number; 0 when the directory is full.
    int TargetSpeedDial(const Entry& entry)
    {
        const int holder = numberOfFax.value(entry.faxKey);
        if (holder != 0 && !reservedSpeedDials.count(holder) && !targeted.count(holder))
            return holder;
        for (int n = nextFree; n <= CSpeedDial::max_count; ++n) {
            if (batch->GetSpeedDial(n) == nullptr && !reservedSpeedDials.count(n)) {
                nextFree = n + 1;
                return n;
            }
        }
        nextFree = CSpeedDial::max_count + 1;
        return 0;
    }

    void Apply(Entry& entry)
    {
        if (entry.isGroup) {
            ApplyGroupRecord(entry);
            return;
        }
        const int number = entry.speedDial != 0 ? entry.speedDial : TargetSpeedDial(entry);
        CSpeedDial* speedDial = batch->GetSpeedDial(number);
        if (number == 0 || (speedDial == nullptr && batch->GetCount(1) >= CSpeedDial::max_count)) {
            if (full.isEmpty())
                full = QStringLiteral("l'annuaire est plein : %1 compositions abrégées au plus.").arg(CSpeedDial::max_count);
            Refuse(entry.line, full);
            return;
        }
        targeted.insert(number);
        for (const QString& note : entry.notes)
            Add(ReportLine::note, entry.line, note);
        const bool fresh = speedDial == nullptr;
        if (fresh) {
            speedDial = new CSpeedDial(number);
            Fill(*speedDial->GetDialingData(), entry);
            batch->Add(speedDial);
            Add(ReportLine::added, entry.line, SpeedDialText(number, entry.name));
            ++plan.added;
        } else {
            CDialingData& data = *speedDial->GetDialingData();
            const CDialingData before = data;
            Fill(data, entry);
            if (data == before) {
                ++plan.unchanged;
            } else {
                Add(ReportLine::replaced, entry.line,
                    SpeedDialText(number, before.name) + QStringLiteral(" par ") + Quoted(entry.name));
                ++plan.replaced;
            }
        }
        const QString target = QStringLiteral("la ") + SpeedDialText(number, speedDial->GetName());
        for (int key : entry.keys)
            ApplyKey(key, speedDial, target, entry.line);
        for (const GroupRef& group : entry.groups)
            ApplyGroup(group, speedDial, fresh, entry.line);
    }

    // A group of its own record: made when the directory lacks it, with the keys that stand
    // for it.
    void ApplyGroupRecord(const Entry& entry)
    {
        for (const QString& note : entry.notes)
            Add(ReportLine::note, entry.line, note);
        CGroupDial* group = TakeGroup(entry.groups.value(0), entry.line);
        if (group == nullptr)
            return;
        const QString target = QStringLiteral("le ") + GroupText(*group);
        for (int key : entry.keys)
            ApplyKey(key, group, target, entry.line);
    }

    static void Fill(CDialingData& data, const Entry& entry)
    {
        data.name = entry.name;
        data.faxNumber = entry.fax;
        data.secondNumber = entry.secondFax;
        data.emailAddress = entry.email;
    }

    // The key made to stand for `target` (a speed dial or a group), told as `targetText`.
    void ApplyKey(int number, CIdObject* target, const QString& targetText, int line)
    {
        const QString keyText = u"touche " % static_cast<const QString&>(FormatId(number, COneTouch::digits)) % u" pour "
                                % targetText;
        COneTouch* key = batch->GetOneTouch(number);
        if (key == nullptr) {
            batch->Add(new COneTouch(number, target));
            Add(ReportLine::added, line, keyText);
            ++plan.added;
            return;
        }
        if (key->GetRef() == target) {
            ++plan.unchanged;
            return;
        }
        const QString before = key->GetName();
        if (CDialingData* record = key->GetDialingData())
            book->Delete(record);
        // A key that stands for another entry is no group member.
        book->RemoveFromGroups(key);
        key->SetRef(target);
        Add(ReportLine::replaced, line, keyText + QStringLiteral(" (elle composait %1)").arg(Quoted(before)));
        ++plan.replaced;
    }

    CGroupDial* FindGroup(const GroupRef& ref) const
    {
        return ref.number != 0 ? batch->GetGroupDial(ref.number) : groupsByName.value(ref.name.toLower());
    }

    // The lowest number no group holds or the file gives; numbers are only ever taken, so the
    // search goes on from where it stopped.
    int FreeGroupNumber()
    {
        while (nextFreeGroup <= CGroupDial::max_count
               && (batch->GetGroupDial(nextFreeGroup) != nullptr || reservedGroups.count(nextFreeGroup)))
            ++nextFreeGroup;
        return nextFreeGroup <= CGroupDial::max_count ? nextFreeGroup : 0;
    }

    void KnowGroup(CGroupDial* group)
    {
        const QString name = QString(group->name).toLower();
        if (!groupsByName.contains(name))
            groupsByName.insert(name, group);
    }

    // The group the file names, made or renamed as it names it; nullptr when the directory has
    // no room for it (refused).
    CGroupDial* TakeGroup(const GroupRef& ref, int line)
    {
        CGroupDial* group = FindGroup(ref);
        if (group == nullptr) {
            const int number = ref.number != 0 ? ref.number : FreeGroupNumber();
            if (number == 0 || batch->GetCount(3) >= CGroupDial::max_count) {
                Refuse(line, QStringLiteral("le groupe %1 n'est pas créé : l'annuaire a déjà %2 groupes.")
                                 .arg(Quoted(ref.name)).arg(CGroupDial::max_count));
                return nullptr;
            }
            group = new CGroupDial(number, ref.name);
            batch->Add(group);
            KnowGroup(group);
            Add(ReportLine::added, line, GroupText(*group));
            ++plan.added;
            created.insert(group);
        } else if (!ref.name.isEmpty() && group->name != ref.name && ref.number != 0) {
            const QString before = GroupText(*group);
            group->name = ref.name;
            KnowGroup(group);
            Add(ReportLine::replaced, line, before + QStringLiteral(" par ") + Quoted(ref.name));
            ++plan.replaced;
            changed.insert(group);
        }
        return group;
    }

    // `fresh`: the member is new to the directory, so no group held it before.
    void ApplyGroup(const GroupRef& ref, CSpeedDial* member, bool fresh, int line)
    {
        CGroupDial* group = TakeGroup(ref, line);
        if (group == nullptr || !joined.insert({group, member}).second
            || (!fresh && group->members.Find(member) != nullptr))
            return;
        group->members.AddTail(member);
        if (!created.count(group) && !changed.count(group)) {
            Add(ReportLine::replaced, line, GroupText(*group) + QStringLiteral(" : de nouveaux membres"));
            ++plan.replaced;
            changed.insert(group);
        }
    }

    ImportPlan& plan;
    CPhoneBook* book = nullptr;
    // The import's entries by number, and its additions, while it runs.
    std::optional<CPhoneBookBatch> batch;
    QHash<QString, int> numberOfFax;    // the lowest speed dial holding a fax number
    std::set<int> reservedSpeedDials;   // given by the file
    std::set<int> reservedGroups;
    std::set<int> targeted;             // speed dials this import wrote
    std::set<const CGroupDial*> created;
    std::set<const CGroupDial*> changed;
    std::set<std::pair<const CGroupDial*, const CSpeedDial*>> joined;   // looked at already
    QHash<QString, CGroupDial*> groupsByName;   // lower case; the lowest number of a name
    int nextFree = 1;
    int nextFreeGroup = 1;
    QString full;                       // the reason of every entry past the capacity
};

} // namespace

ImportPlan PlanImport(const CPhoneBook& current, const ReadResult& contacts)
{
    ImportPlan plan;
    if (!contacts.error.isEmpty()) {
        plan.error = contacts.error;
        return plan;
    }
    Planner(current, plan).Run(contacts);
    return plan;
}

} // namespace contacts
