#include "device/lib/recordjson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <memory>
#include <tuple>

namespace {

QJsonValue ToJson(int value) { return value; }
QJsonValue ToJson(const CString& value) { return static_cast<const QString&>(value); }

QJsonValue ToJson(const CInterval& interval)
{
    auto time = [](int minute) { return QString::asprintf("%02d:%02d", minute / 60, minute % 60); };
    return QJsonObject{{"start", time(interval.GetStartMinute())}, {"stop", time(interval.GetStopMinute())}};
}

// IPv4 addresses, dotted.
QJsonValue ToJson(const BYTE (&address)[4])
{
    return QString("%1.%2.%3.%4").arg(address[0]).arg(address[1]).arg(address[2]).arg(address[3]);
}

template <class T, std::size_t N>
QJsonValue ToJson(const T (&values)[N])
{
    QJsonArray array;
    for (const T& value : values)
        array.append(ToJson(value));
    return array;
}

QJsonValue ToJson(const CStringArray& texts)
{
    QJsonArray array;
    for (INT_PTR i = 0; i < texts.GetSize(); ++i)
        array.append(ToJson(texts[i]));
    return array;
}

template <class Object>
QJsonObject FieldsToJson(const Object& object)
{
    QJsonObject json;
    Object::Fields([&](const char* name, auto field, const auto&) { json[name] = ToJson(object.*field); });
    return json;
}

// What a one-touch key stands for, or a group's member: the entry by its kind and number.
QJsonObject Reference(const CObject* entry)
{
    if (entry == nullptr)
        return {};
    if (entry->IsKindOf(RUNTIME_CLASS(CDialingData)))
        return {{"dialingData", FieldsToJson(*static_cast<const CDialingData*>(entry))}};
    const char* kind = entry->IsKindOf(RUNTIME_CLASS(CSpeedDial)) ? "speedDial"
                       : entry->IsKindOf(RUNTIME_CLASS(COneTouch)) ? "oneTouch"
                                                                   : "groupDial";
    return {{kind, static_cast<const CIdObject*>(entry)->GetId()}};
}

template <class Entry, class Describe>
QJsonArray EntriesToJson(const CObList& entries, Describe describe)
{
    QJsonArray array;
    for (POSITION pos = entries.GetHeadPosition(); pos != nullptr;)
        array.append(describe(*static_cast<const Entry*>(entries.GetNext(pos))));
    return array;
}

template <class Section>
QJsonValue SectionToJson(const Section& section)
{
    return FieldsToJson(section);
}

QJsonValue SectionToJson(const CPhoneBook& book)
{
    return QJsonObject{
        {"speedDials", EntriesToJson<CSpeedDial>(book.GetSpeedDials(), [](const CSpeedDial& entry) {
             return QJsonObject{{"number", entry.GetId()}, {"dialingData", FieldsToJson(*entry.GetDialingData())}};
         })},
        {"oneTouches", EntriesToJson<COneTouch>(book.GetOneTouches(), [](const COneTouch& key) {
             QJsonObject json = Reference(key.GetRef());
             json["number"] = key.GetId();
             return json;
         })},
        {"groupDials", EntriesToJson<CGroupDial>(book.GetGroupDials(), [](const CGroupDial& group) {
             QJsonArray members;
             for (POSITION pos = group.members.GetHeadPosition(); pos != nullptr;)
                 members.append(Reference(group.members.GetNext(pos)));
             return QJsonObject{{"number", group.GetId()}, {"name", ToJson(group.name)}, {"members", members}};
         })},
    };
}

QJsonValue SectionToJson(const CMailBoxes& mailBoxes)
{
    return EntriesToJson<CMailBox>(mailBoxes, [](const CMailBox& mailBox) {
        return QJsonObject{{"number", ToJson(mailBox.number)},
                           {"type", mailBox.type},
                           {"password", ToJson(mailBox.password)},
                           {"destinations", ToJson(mailBox.destinations)},
                           {"reportDestKind", mailBox.reportDestKind},
                           {"reportDest", ToJson(mailBox.reportDest)}};
    });
}

QJsonValue SectionToJson(const CDepartmentCodes& codes)
{
    return EntriesToJson<CDepartmentCode>(codes, [](const CDepartmentCode& code) {
        return QJsonObject{{"id", code.GetId()},
                           {"code", code.code},
                           {"name", ToJson(code.name)},
                           {"sentPages", code.sentPages},
                           {"receivedPages", code.receivedPages},
                           {"copiedPages", code.copiedPages}};
    });
}

} // namespace

QJsonObject RecordToJson(const CConfig& config)
{
    QJsonObject json;
    CConfig::Sections([&](const char* name, auto section) { json[name] = SectionToJson(config.*section); });
    return json;
}

// The schema ----------------------------------------------------------------------------------

namespace {

QJsonObject Schema(const int&, const fields::Rule& rule)
{
    const bool ranged = rule.kind == fields::Rule::number;
    return {{"type", "integer"},
            {"minimum", ranged ? rule.low : std::numeric_limits<int>::min()},
            {"maximum", ranged ? rule.high : std::numeric_limits<int>::max()}};
}

QJsonObject Schema(const CString&, const fields::Rule& rule)
{
    QJsonObject schema{{"type", "string"}};
    if (rule.kind != fields::Rule::text)
        return schema;
    schema["maxLength"] = rule.maxLength;
    if (rule.minLength > 0)
        schema["minLength"] = rule.minLength;
    if (rule.chars == fields::Chars::digits)
        schema["pattern"] = "^[0-9]*$";
    return schema;
}

QJsonObject Schema(const CInterval&, const fields::Rule&)
{
    const QJsonObject time{{"type", "string"}, {"pattern", "^([01][0-9]|2[0-3]):[0-5][0-9]$"}};
    return {{"type", "object"},
            {"properties", QJsonObject{{"start", time}, {"stop", time}}},
            {"required", QJsonArray{"start", "stop"}},
            {"additionalProperties", false}};
}

QJsonObject Schema(const BYTE (&)[4], const fields::Rule&)
{
    const QString octet = QStringLiteral("(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|0*[0-9]{1,2})");
    return {{"type", "string"}, {"pattern", QStringLiteral("^%1\\.%1\\.%1\\.%1$").arg(octet)}};
}

QJsonObject Schema(const CStringArray&, const fields::Rule&)
{
    return {{"type", "array"}, {"items", QJsonObject{{"type", "string"}}}, {"maxItems", CMailBox::max_relay_dest_count}};
}

template <class T, std::size_t N>
QJsonObject Schema(const T (&values)[N], const fields::Rule& rule)
{
    return {{"type", "array"}, {"items", Schema(values[0], rule)}, {"minItems", int(N)}, {"maxItems", int(N)}};
}

QJsonObject ObjectSchema(const QJsonObject& properties, const QJsonArray& required = {})
{
    QJsonObject schema{{"type", "object"}, {"properties", properties}, {"additionalProperties", false}};
    if (!required.isEmpty())
        schema["required"] = required;
    return schema;
}

// A field-table object's fields, with `extra` properties of the caller's. A rule that follows
// another field (fields::Evaluate) gives only the type: its range is the record check's.
template <class Object>
QJsonObject FieldsSchema(QJsonObject properties = {}, const QJsonArray& required = {})
{
    const Object object;
    Object::Fields([&](const char* name, auto field, const auto& tableRule) {
        fields::Rule rule;
        if constexpr (!std::is_invocable_v<decltype(tableRule), const Object&>)
            rule = tableRule;
        properties[name] = Schema(object.*field, rule);
    });
    return ObjectSchema(properties, required);
}

QJsonObject ListSchema(const QJsonObject& items, int maxItems)
{
    return {{"type", "array"}, {"items", items}, {"maxItems", maxItems}};
}

template <class Section>
QJsonObject SectionSchema(const Section&)
{
    return FieldsSchema<Section>();
}

QJsonObject SectionSchema(const CPhoneBook&)
{
    const QJsonObject number{{"type", "integer"}, {"minimum", 1}};
    const QJsonObject dialingData{{"$ref", "#/$defs/dialingData"}};
    QJsonObject key = ObjectSchema({{"number", number}, {"dialingData", dialingData}, {"speedDial", number}, {"groupDial", number}},
                                   {"number"});
    key["maxProperties"] = 2;   // the number and what the key dials
    QJsonObject member = ObjectSchema({{"speedDial", number}, {"oneTouch", number}});
    member["minProperties"] = 1;
    member["maxProperties"] = 1;
    return ObjectSchema({
        {"speedDials", ListSchema(ObjectSchema({{"number", number}, {"dialingData", dialingData}}, {"number"}), CSpeedDial::max_count)},
        {"oneTouches", ListSchema(key, COneTouch::max_count)},
        {"groupDials", ListSchema(FieldsSchema<CGroupDial>({{"number", number}, {"members", QJsonObject{{"type", "array"}, {"items", member}}}}),
                                  CGroupDial::max_count)},
    });
}

QJsonObject SectionSchema(const CMailBoxes&)
{
    return ListSchema(FieldsSchema<CMailBox>(), CMailBox::max_count);
}

QJsonObject SectionSchema(const CDepartmentCodes&)
{
    return ListSchema(FieldsSchema<CDepartmentCode>({{"id", Schema(0, CDepartmentCode::idRule)}}, {"id"}),
                      CDepartmentCode::max_count);
}

} // namespace

QJsonObject RecordJsonSchema()
{
    QJsonObject sections;
    const auto record = std::make_unique<CConfig>();
    CConfig::Sections([&](const char* name, auto section) { sections[name] = SectionSchema(record.get()->*section); });
    QJsonObject schema = ObjectSchema(sections);
    schema["$schema"] = "https://json-schema.org/draft/2020-12/schema";
    schema["title"] = "Fichier de paramètres Tamsel en JSON (tamselctl dump et load)";
    schema["$defs"] = QJsonObject{{"dialingData", FieldsSchema<CDialingData>()}};
    return schema;
}

// Reading back -------------------------------------------------------------------------------

namespace {

// A text that is no record: where, and what is wrong there.
struct JsonError {
    QString path;
    QString problem;
};

QString Child(const QString& path, const QString& key)
{
    return path.isEmpty() ? key : path + QLatin1Char('.') + key;
}

QString Item(const QString& path, qsizetype index)
{
    return path + QStringLiteral("[%1]").arg(index);
}

[[noreturn]] void Fail(const QString& path, const QString& problem)
{
    throw JsonError{path, problem};
}

QJsonObject ObjectAt(const QJsonValue& value, const QString& path)
{
    if (!value.isObject())
        Fail(path, QStringLiteral("un objet est attendu"));
    return value.toObject();
}

QJsonArray ArrayAt(const QJsonValue& value, const QString& path)
{
    if (!value.isArray())
        Fail(path, QStringLiteral("un tableau est attendu"));
    return value.toArray();
}

// The list under `key` of an object, empty when the key is left out.
QJsonArray ListAt(const QJsonObject& object, const char* key, const QString& path)
{
    const QJsonValue value = object.value(QLatin1String(key));
    return value.isUndefined() ? QJsonArray() : ArrayAt(value, Child(path, QLatin1String(key)));
}

// Calls read(item, itemPath) for each object of an array.
template <class Read>
void ForEachObject(const QJsonArray& array, const QString& path, Read&& read)
{
    for (qsizetype i = 0; i < array.size(); ++i)
        read(ObjectAt(array[i], Item(path, i)), Item(path, i));
}

// Every key of `object` must be one of `known`.
void OnlyKeys(const QJsonObject& object, const QString& path, std::initializer_list<const char*> known)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (std::none_of(known.begin(), known.end(), [&](const char* key) { return it.key() == QLatin1String(key); }))
            Fail(Child(path, it.key()), QStringLiteral("clé inconnue"));
    }
}

void FromJson(const QJsonValue& value, const QString& path, int& out)
{
    const double number = value.toDouble();
    if (!value.isDouble() || number != std::floor(number) || number < std::numeric_limits<int>::min()
        || number > std::numeric_limits<int>::max())
        Fail(path, QStringLiteral("un nombre entier est attendu"));
    out = static_cast<int>(number);
}

void FromJson(const QJsonValue& value, const QString& path, CString& out)
{
    if (!value.isString())
        Fail(path, QStringLiteral("un texte est attendu"));
    out = value.toString();
}

void FromJson(const QJsonValue& value, const QString& path, CInterval& out)
{
    const QJsonObject object = ObjectAt(value, path);
    OnlyKeys(object, path, {"start", "stop"});
    static const QRegularExpression time(QStringLiteral("^([01][0-9]|2[0-3]):([0-5][0-9])$"));
    int minutes[2] = {};
    const char* const keys[] = {"start", "stop"};
    for (int i = 0; i < 2; ++i) {
        const QRegularExpressionMatch match = time.match(object[QLatin1String(keys[i])].toString());
        if (!match.hasMatch())
            Fail(Child(path, QLatin1String(keys[i])), QStringLiteral("une heure HH:MM est attendue"));
        minutes[i] = match.captured(1).toInt() * 60 + match.captured(2).toInt();
    }
    out = CInterval(minutes[0], minutes[1]);
}

void FromJson(const QJsonValue& value, const QString& path, BYTE (&out)[4])
{
    static const QRegularExpression address(QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const QRegularExpressionMatch match = address.match(value.toString());
    bool inRange = match.hasMatch();
    for (int i = 0; inRange && i < 4; ++i)
        inRange = match.captured(i + 1).toInt() <= 255;
    if (!value.isString() || !inRange)
        Fail(path, QStringLiteral("une adresse IPv4 (a.b.c.d) est attendue"));
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<BYTE>(match.captured(i + 1).toInt());
}

void FromJson(const QJsonValue& value, const QString& path, CStringArray& out)
{
    const QJsonArray array = ArrayAt(value, path);
    out.RemoveAll();
    for (qsizetype i = 0; i < array.size(); ++i) {
        CString text;
        FromJson(array[i], Item(path, i), text);
        out.Add(text);
    }
}

template <class T, std::size_t N>
void FromJson(const QJsonValue& value, const QString& path, T (&out)[N])
{
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.size() != qsizetype(N))
        Fail(path, QStringLiteral("un tableau de %1 valeurs est attendu").arg(N));
    for (std::size_t i = 0; i < N; ++i)
        FromJson(array[qsizetype(i)], Item(path, qsizetype(i)), out[i]);
}

// A field-table object: its fields from the keys of the same names, and `extra` keys that the
// caller reads.
template <class Object>
void FieldsFromJson(const QJsonValue& value, const QString& path, Object& object,
                    std::initializer_list<const char*> extra = {})
{
    const QJsonObject json = ObjectAt(value, path);
    for (auto it = json.begin(); it != json.end(); ++it) {
        bool known = std::any_of(extra.begin(), extra.end(), [&](const char* key) { return it.key() == QLatin1String(key); });
        Object::Fields([&](const char* name, auto field, const auto&) {
            if (!known && it.key() == QLatin1String(name)) {
                known = true;
                FromJson(it.value(), Child(path, it.key()), object.*field);
            }
        });
        if (!known)
            Fail(Child(path, it.key()), QStringLiteral("clé inconnue"));
    }
}

// A numbered entry's number: present and a whole number.
int NumberAt(const QJsonObject& object, const QString& path, const char* key)
{
    if (!object.contains(QLatin1String(key)))
        Fail(Child(path, QLatin1String(key)), QStringLiteral("clé manquante"));
    int number = 0;
    FromJson(object[QLatin1String(key)], Child(path, QLatin1String(key)), number);
    return number;
}

} // namespace

class RecordJsonParser {
public:
    RecordJsonParser(RecordJsonReader& reader, CConfig& record) : reader(reader), record(record) {}

    void Parse(const QJsonObject& json)
    {
        CConfig::Sections([&](const char* name, auto member) {
            const QLatin1String key(name);
            if (json.contains(key))
                Section(json[key], key, record.*member);
        });
        for (auto it = json.begin(); it != json.end(); ++it) {
            bool known = false;
            CConfig::Sections([&](const char* name, auto) { known = known || it.key() == QLatin1String(name); });
            if (!known)
                Fail(it.key(), QStringLiteral("clé inconnue"));
        }
    }

private:
    template <class Plain>
    void Section(const QJsonValue& value, const QString& path, Plain& section)
    {
        FieldsFromJson(value, path, section);
    }

    void Section(const QJsonValue& value, const QString& path, CMailBoxes& mailBoxes)
    {
        ForEachObject(ArrayAt(value, path), path, [&](const QJsonObject& json, const QString& at) {
            auto box = std::make_unique<CMailBox>();
            FieldsFromJson(json, at, *box);
            if (box->destinations.GetSize() > CMailBox::max_relay_dest_count)
                Fail(Child(at, QStringLiteral("destinations")),
                     QStringLiteral("plus de %1 destinations").arg(CMailBox::max_relay_dest_count));
            if (mailBoxes.Get(box->number) != nullptr)
                Fail(Child(at, QStringLiteral("number")), QStringLiteral("une autre boîte aux lettres porte ce numéro"));
            if (!mailBoxes.Add(box.get()))
                Fail(at, QStringLiteral("plus de %1 boîtes aux lettres").arg(CMailBox::max_count));
            Remember("mailBoxes", box.release()->number, at);
        });
    }

    void Section(const QJsonValue& value, const QString& path, CDepartmentCodes& codes)
    {
        ForEachObject(ArrayAt(value, path), path, [&](const QJsonObject& json, const QString& at) {
            auto code = std::make_unique<CDepartmentCode>(NumberAt(json, at, "id"));
            FieldsFromJson(json, at, *code, {"id"});
            // A code the list cannot take for its rules is found as the record check finds it.
            const fields::Rule codeRule = fields::RuleOf(&CDepartmentCode::code, *code);
            if (!CDepartmentCode::idRule.Allows(code->GetId()) || !codeRule.Allows(code->code)) {
                const bool badId = !CDepartmentCode::idRule.Allows(code->GetId());
                RecordFinding finding;
                finding.section = "clientCodes";
                finding.field = badId ? "id" : "code";
                finding.entry = FormatId(code->GetId(), CDepartmentCode::digits);
                finding.rule = badId ? CDepartmentCode::idRule : codeRule;
                finding.value = badId ? code->GetId() : code->code;
                reader.refused.emplace_back(Child(at, QLatin1String(finding.field)), finding);
                return;
            }
            if (codes.Get(code->GetId()) != nullptr)
                Fail(Child(at, QStringLiteral("id")), QStringLiteral("un autre code client porte cet ID"));
            if (codes.FindCode(code->code) != nullptr)
                Fail(Child(at, QStringLiteral("code")), QStringLiteral("un autre code client porte ce code"));
            if (!codes.Add(code.get()))
                Fail(at, QStringLiteral("plus de %1 codes clients").arg(CDepartmentCode::max_count));
            Remember("clientCodes", FormatId(code.release()->GetId(), CDepartmentCode::digits), at);
        });
    }

    void Section(const QJsonValue& value, const QString& path, CPhoneBook& book)
    {
        const QJsonObject json = ObjectAt(value, path);
        OnlyKeys(json, path, {"speedDials", "oneTouches", "groupDials"});
        ForEachObject(ListAt(json, "speedDials", path), Child(path, QStringLiteral("speedDials")), [&](const QJsonObject& entry, const QString& at) {
            OnlyKeys(entry, at, {"number", "dialingData"});
            auto speedDial = std::make_unique<CSpeedDial>(NumberAt(entry, at, "number"));
            if (entry.contains(QLatin1String("dialingData")))
                FieldsFromJson(entry["dialingData"], Child(at, QStringLiteral("dialingData")), *speedDial->GetDialingData());
            Adopt(book, std::move(speedDial), at, "speedDials", CSpeedDial::digits);
        });

        // Keys may stand for groups, which come after them: those are linked at the end.
        std::vector<std::tuple<COneTouch*, int, QString>> keysForGroups;
        ForEachObject(ListAt(json, "oneTouches", path), Child(path, QStringLiteral("oneTouches")), [&](const QJsonObject& entry, const QString& at) {
            OnlyKeys(entry, at, {"number", "dialingData", "speedDial", "groupDial"});
            auto key = std::make_unique<COneTouch>(NumberAt(entry, at, "number"));
            if (entry.size() > 2)
                Fail(at, QStringLiteral("une touche compose une seule chose : dialingData, speedDial ou groupDial"));
            if (entry.contains(QLatin1String("dialingData"))) {
                CDialingData* record = book.NewDialingData();
                key->SetRef(record);
                FieldsFromJson(entry["dialingData"], Child(at, QStringLiteral("dialingData")), *record);
            } else if (entry.contains(QLatin1String("speedDial"))) {
                key->SetRef(Find(book, entry, at, "speedDial"));
            } else if (entry.contains(QLatin1String("groupDial"))) {
                keysForGroups.emplace_back(key.get(), NumberAt(entry, at, "groupDial"), Child(at, QStringLiteral("groupDial")));
            }
            Adopt(book, std::move(key), at, "oneTouches", COneTouch::digits);
        });

        ForEachObject(ListAt(json, "groupDials", path), Child(path, QStringLiteral("groupDials")), [&](const QJsonObject& entry, const QString& at) {
            auto group = std::make_unique<CGroupDial>(NumberAt(entry, at, "number"));
            FieldsFromJson(entry, at, *group, {"number", "members"});
            ForEachObject(ListAt(entry, "members", at), Child(at, QStringLiteral("members")), [&](const QJsonObject& member, const QString& memberPath) {
                OnlyKeys(member, memberPath, {"speedDial", "oneTouch"});
                if (member.size() != 1)
                    Fail(memberPath, QStringLiteral("un membre est une composition abrégée (speedDial) ou une touche (oneTouch)"));
                CObject* found = member.contains(QLatin1String("speedDial")) ? static_cast<CObject*>(Find(book, member, memberPath, "speedDial"))
                                                                             : Find(book, member, memberPath, "oneTouch");
                if (group->members.Find(found) != nullptr)
                    Fail(memberPath, QStringLiteral("ce membre est déjà dans le groupe"));
                group->members.AddTail(found);
            });
            Adopt(book, std::move(group), at, "groupDials", CGroupDial::digits);
        });
        for (const auto& [key, number, at] : keysForGroups) {
            key->SetRef(book.GetGroupDial(number));
            if (key->GetRef() == nullptr)
                Fail(at, QStringLiteral("aucune composition de groupe %1 dans l'annuaire").arg(number));
        }
    }

    // The entry of that kind and number the directory holds already.
    CIdObject* Find(const CPhoneBook& book, const QJsonObject& json, const QString& path, const char* kind)
    {
        const int number = NumberAt(json, path, kind);
        const bool speedDial = std::strcmp(kind, "speedDial") == 0;
        CIdObject* entry = speedDial ? static_cast<CIdObject*>(book.GetSpeedDial(number)) : book.GetOneTouch(number);
        if (entry == nullptr)
            Fail(Child(path, QLatin1String(kind)),
                 (speedDial ? QStringLiteral("aucune composition abrégée %1 dans l'annuaire")
                            : QStringLiteral("aucune touche %1 dans l'annuaire"))
                     .arg(number));
        return entry;
    }

    template <class Entry>
    void Adopt(CPhoneBook& book, std::unique_ptr<Entry> entry, const QString& path, const char* kind, int digits)
    {
        const int number = entry->GetId();
        if (!book.Add(entry.get()))
            Fail(Child(path, QStringLiteral("number")),
                 QStringLiteral("le numéro %1 est pris, hors des limites, ou l'annuaire est plein").arg(number));
        entry.release();
        Remember(kind, FormatId(number, digits), path);
    }

    void Remember(const char* section, const CString& entry, const QString& path)
    {
        reader.entryPaths.insert(QLatin1String(section) + QLatin1Char('\n') + static_cast<const QString&>(entry), path);
    }

    RecordJsonReader& reader;
    CConfig& record;
};

bool RecordJsonReader::Read(const QByteArray& text, CConfig& record)
{
    error.clear();
    refused.clear();
    entryPaths.clear();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("le texte n'est pas du JSON valide (octet %1)").arg(parseError.offset);
        return false;
    }
    if (!document.isObject()) {
        error = QStringLiteral("le texte n'est pas un objet JSON");
        return false;
    }
    try {
        RecordJsonParser(*this, record).Parse(document.object());
        return true;
    } catch (const JsonError& failure) {
        error = failure.path + QStringLiteral(" : ") + failure.problem;
        return false;
    }
}

QString RecordJsonReader::PathOf(const RecordFinding& finding) const
{
    const QString section = QLatin1String(finding.section);
    QString path = entryPaths.value(section + QLatin1Char('\n') + static_cast<const QString&>(finding.entry));
    if (path.isEmpty())
        path = section;
    const QString field = QLatin1String(finding.field);
    if (section == QLatin1String("speedDials") || (section == QLatin1String("oneTouches") && field != QLatin1String("target")))
        path = Child(path, QStringLiteral("dialingData"));
    if (field != QLatin1String("target"))
        path = Child(path, field);
    return finding.index >= 0 ? Item(path, finding.index) : path;
}
