#include "afx/core/object.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A small hierarchy as the data library builds one: numbered entries of several kinds.
class CEntry : public CObject {
    DECLARE_DYNAMIC(CEntry)
};

class CDial : public CEntry {
    DECLARE_DYNCREATE(CDial)
public:
    int number = 7;
};

class CKey : public CDial {
    DECLARE_SERIAL(CKey)
protected:
    CKey() = default;   // creatable through its run-time class only
};

class CGroup : public CEntry {
    DECLARE_DYNAMIC(CGroup)
};

class CPlain : public CEntry {};   // declares no run-time class of its own

IMPLEMENT_DYNAMIC(CEntry, CObject)
IMPLEMENT_DYNCREATE(CDial, CEntry)
IMPLEMENT_SERIAL(CKey, CDial, 3)
IMPLEMENT_DYNAMIC(CGroup, CEntry)

TEST(RuntimeClassTest, IsKindOfFollowsTheWholeHierarchy)
{
    std::unique_ptr<CObject> key(RUNTIME_CLASS(CKey)->CreateObject());
    CDial dial;
    CGroup group;
    struct Row {
        const CObject* object;
        const CRuntimeClass* cls;
        bool expected;
    };
    const Row rows[] = {
        {key.get(), RUNTIME_CLASS(CKey), true},   {key.get(), RUNTIME_CLASS(CDial), true},
        {key.get(), RUNTIME_CLASS(CEntry), true}, {key.get(), RUNTIME_CLASS(CObject), true},
        {key.get(), RUNTIME_CLASS(CGroup), false}, {&dial, RUNTIME_CLASS(CKey), false},
        {&dial, RUNTIME_CLASS(CDial), true},      {&group, RUNTIME_CLASS(CDial), false},
        {&group, RUNTIME_CLASS(CEntry), true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.expected, bool(row.object->IsKindOf(row.cls)))
            << row.object->GetRuntimeClass()->m_lpszClassName << " of " << row.cls->m_lpszClassName;
    }
}

TEST(RuntimeClassTest, NamesSchemaAndBase)
{
    const CRuntimeClass* key = RUNTIME_CLASS(CKey);
    EXPECT_EQ(std::string("CKey"), key->m_lpszClassName);
    EXPECT_EQ(3u, key->m_wSchema);
    EXPECT_EQ(0xFFFFu, RUNTIME_CLASS(CDial)->m_wSchema);
    EXPECT_EQ(RUNTIME_CLASS(CDial), key->m_pBaseClass);
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->m_pBaseClass);
    EXPECT_EQ(static_cast<int>(sizeof(CDial)), RUNTIME_CLASS(CDial)->m_nObjectSize);
}

TEST(RuntimeClassTest, CreatesOnlyCreatableClasses)
{
    std::unique_ptr<CObject> dial(RUNTIME_CLASS(CDial)->CreateObject());
    ASSERT_NE(nullptr, dial);
    EXPECT_EQ(RUNTIME_CLASS(CDial), dial->GetRuntimeClass());
    EXPECT_EQ(7, static_cast<CDial*>(dial.get())->number);
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CGroup)->CreateObject());
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->CreateObject());
}

TEST(RuntimeClassTest, ClassWithoutItsOwnDeclarationIsItsBase)
{
    CPlain plain;
    EXPECT_EQ(RUNTIME_CLASS(CEntry), plain.GetRuntimeClass());
    EXPECT_TRUE(plain.IsKindOf(RUNTIME_CLASS(CEntry)));
}

TEST(RuntimeClassTest, DowncastsCheckTheClass)
{
    CDial dial;
    CGroup group;
    CObject* asObject = &dial;
    EXPECT_EQ(&dial, DYNAMIC_DOWNCAST(CDial, asObject));
    EXPECT_EQ(&dial, DYNAMIC_DOWNCAST(CEntry, asObject));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CKey, asObject));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CDial, static_cast<CObject*>(&group)));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CDial, static_cast<CObject*>(nullptr)));
}

} // namespace
