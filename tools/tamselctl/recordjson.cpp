#include "recordjson.h"

#include <QJsonArray>

#include <cstddef>

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
