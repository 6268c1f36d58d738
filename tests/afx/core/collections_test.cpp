#include "afx/core/collections.h"

#include <gtest/gtest.h>

#include <list>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class CItem : public CObject {
public:
    explicit CItem(char name) : name(name) {}
    char name;
};

std::string Forward(const CObList& list)
{
    std::string out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out += static_cast<const CItem*>(list.GetNext(pos))->name;
    return out;
}

class CObListTest : public ::testing::Test {
protected:
    // The tail too, so that a stale tail shows as well as a broken forward link.
    void Expect(const std::string& order)
    {
        EXPECT_EQ(order, Forward(list));
        EXPECT_EQ(static_cast<INT_PTR>(order.size()), list.GetCount());
        if (!order.empty()) {
            EXPECT_EQ(order.back(), static_cast<const CItem*>(list.GetTail())->name);
        }
    }

    CItem a{'a'}, b{'b'}, c{'c'}, d{'d'}, e{'e'};
    CObList list;
};

TEST_F(CObListTest, InsertsAtEveryPlace)
{
    list.AddTail(&b);
    list.AddHead(&a);
    list.AddTail(&d);
    list.InsertBefore(list.Find(&d), &c);
    list.AddTail(&e);
    Expect("abcde");
    list.InsertBefore(nullptr, &e);   // a null place means the head
    Expect("eabcde");
}

TEST_F(CObListTest, RemovesWhileWalking)
{
    for (CItem* item : {&a, &b, &c, &d, &e})
        list.AddTail(item);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION here = pos;
        if (static_cast<CItem*>(list.GetNext(pos))->name != 'c')
            continue;
        list.RemoveAt(here);
    }
    Expect("abde");
    EXPECT_EQ(&a, list.RemoveHead());
    Expect("bde");
    list.RemoveAt(list.Find(&e));
    Expect("bd");
    list.RemoveAt(list.GetHeadPosition());
    list.RemoveAt(list.GetHeadPosition());
    Expect("");
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
}

TEST_F(CObListTest, FindsByValueAndIndex)
{
    for (CItem* item : {&a, &b, &a, &c})
        list.AddTail(item);
    POSITION first = list.Find(&a);
    POSITION second = list.Find(&a, first);
    EXPECT_EQ(list.GetHeadPosition(), first);
    EXPECT_EQ(list.FindIndex(2), second);
    EXPECT_EQ(nullptr, list.Find(&a, second));
    EXPECT_EQ(nullptr, list.Find(&e));
    EXPECT_EQ(&c, list.GetAt(list.FindIndex(3)));
    EXPECT_EQ(nullptr, list.FindIndex(4));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
}

TEST_F(CObListTest, MisuseThrowsInsteadOfCrashing)
{
    EXPECT_THROW(list.GetHead(), std::out_of_range);
    POSITION none = nullptr;
    EXPECT_THROW(list.GetNext(none), std::invalid_argument);
    EXPECT_THROW(list.RemoveAt(nullptr), std::invalid_argument);
}

TEST_F(CObListTest, CopiesAreIndependentAndOwnNothing)
{
    list.AddTail(&a);
    list.AddTail(&b);
    CObList copy(list);
    copy.RemoveHead();
    copy.AddTail(&c);
    Expect("ab");
    EXPECT_EQ("bc", Forward(copy));
    copy = list;
    EXPECT_EQ("ab", Forward(copy));
    list.RemoveAll();   // the items live on: they belong to this fixture
    EXPECT_EQ('a', a.name);
}

TEST_F(CObListTest, MovingHandsTheNodesOverAndLeavesAnEmptyList)
{
    list.AddTail(&a);
    const POSITION atB = list.AddTail(&b);
    CObList moved(std::move(list));
    Expect("");
    EXPECT_EQ(&b, moved.GetAt(atB));   // the same nodes
    moved.InsertBefore(atB, &c);
    EXPECT_EQ("acb", Forward(moved));
    EXPECT_EQ(&b, moved.GetTail());

    CObList target;
    target.AddTail(&d);
    target = std::move(moved);
    EXPECT_EQ("acb", Forward(target));
    EXPECT_EQ(3, target.GetCount());
    EXPECT_TRUE(moved.IsEmpty());
    moved.AddTail(&e);   // still a list
    EXPECT_EQ("e", Forward(moved));
    EXPECT_EQ(&e, moved.GetTail());
}

TEST(CStringListTest, FindsByText)
{
    CStringList devices(10);
    devices.AddTail("USB1");
    devices.AddTail(_T("\\\\Bureau"));
    devices.AddHead(CString("LPT1"));
    POSITION pos = devices.Find("\\\\Bureau");
    ASSERT_NE(nullptr, pos);
    EXPECT_EQ(CString("\\\\Bureau"), devices.GetAt(pos));
    EXPECT_EQ(CString("LPT1"), devices.GetHead());
    EXPECT_EQ(nullptr, devices.Find("usb1"));
}

std::vector<std::string> Items(const CStringArray& array)
{
    std::vector<std::string> out;
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        out.push_back(static_cast<const QString&>(array[i]).toStdString());
    return out;
}

// Nodes come from blocks and freed places are used again: a list driven through adds,
// removals in the middle, emptying, copies and moves must hold what a plain list holds, for
// blocks of one node, of a few, and larger than the list.
class CListBlocksTest : public ::testing::TestWithParam<INT_PTR> {
protected:
    void Expect(const CStringList& list, const std::list<std::string>& model)
    {
        std::list<std::string> held;
        for (POSITION pos = list.GetHeadPosition(); pos;)
            held.push_back(static_cast<const QString&>(list.GetNext(pos)).toStdString());
        EXPECT_EQ(model, held);
        ASSERT_EQ(static_cast<INT_PTR>(model.size()), list.GetCount());
        if (!model.empty()) {
            EXPECT_EQ(model.front(), static_cast<const QString&>(list.GetHead()).toStdString());
            EXPECT_EQ(model.back(), static_cast<const QString&>(list.GetTail()).toStdString());
        }
    }
    // Long enough that a string lives outside the node: a place given twice shows in the text.
    static std::string Text(int i) { return "numéro " + std::to_string(i) + std::string(24, char('a' + i % 26)); }
};

TEST_P(CListBlocksTest, HoldsWhatAPlainListHolds)
{
    CStringList list(GetParam());
    std::list<std::string> model;
    int next = 0;
    auto add = [&](bool atHead) {
        const std::string text = Text(next++);
        atHead ? list.AddHead(CString(text.c_str())) : list.AddTail(CString(text.c_str()));
        atHead ? model.push_front(text) : model.push_back(text);
    };
    // Every third element from the head leaves; the places go to the next adds.
    auto thin = [&] {
        int i = 0;
        auto at = model.begin();
        for (POSITION pos = list.GetHeadPosition(); pos; ++i) {
            POSITION here = pos;
            list.GetNext(pos);
            if (i % 3 == 1) {
                list.RemoveAt(here);
                at = model.erase(at);
            } else {
                ++at;
            }
        }
    };

    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        for (int i = 0; i < 11; ++i)
            add(i % 4 == 0);
        Expect(list, model);
        thin();
        Expect(list, model);
        for (int i = 0; i < 5; ++i)
            add(i % 2 == 0);
        list.InsertBefore(list.FindIndex(2), "milieu");
        model.insert(std::next(model.begin(), 2), "milieu");
        Expect(list, model);

        CStringList copy(list);
        copy.RemoveAll();   // the copy's nodes are its own
        Expect(list, model);
        CStringList moved(std::move(list));
        Expect(list, {});
        Expect(moved, model);
        list = std::move(moved);
        Expect(list, model);
        if (round == 1) {
            list.RemoveAll();   // emptied: refilled from fresh blocks
            model.clear();
        }
        while (list.GetCount() > 4) {
            EXPECT_EQ(model.front(), static_cast<const QString&>(list.RemoveHead()).toStdString());
            model.pop_front();
        }
        Expect(list, model);
    }
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, CListBlocksTest, ::testing::Values(1, 2, 3, 10, 64),
                         [](const auto& info) { return "nodes" + std::to_string(info.param); });

TEST(CArrayTest, AddsAndRemovesRanges)
{
    CStringArray numbers;
    EXPECT_EQ(0, numbers.Add("10"));
    EXPECT_EQ(1, numbers.Add("20"));
    numbers.SetSize(6);   // the new places hold empty strings
    numbers[2] = "30";
    numbers[5] = "70";
    EXPECT_EQ((std::vector<std::string>{"10", "20", "30", "", "", "70"}), Items(numbers));
    numbers.RemoveAt(3, 2);
    EXPECT_EQ((std::vector<std::string>{"10", "20", "30", "70"}), Items(numbers));
    numbers.RemoveAt(3);
    EXPECT_EQ((std::vector<std::string>{"10", "20", "30"}), Items(numbers));
}

TEST(CArrayTest, IndexesOutsideTheArrayThrow)
{
    CArray<CObject*, CObject*> objects;
    objects.SetSize(2);
    EXPECT_EQ(nullptr, objects[1]);
    EXPECT_THROW(objects.GetAt(2), std::out_of_range);
    EXPECT_THROW(objects[-1], std::out_of_range);
    EXPECT_THROW(objects.RemoveAt(1, 2), std::out_of_range);
    EXPECT_THROW(objects.RemoveAt(-1), std::out_of_range);
    EXPECT_THROW(objects.SetSize(-1), std::invalid_argument);
    EXPECT_EQ(2, objects.GetSize());
}

TEST(CArrayTest, CopiesByValue)
{
    CArray<DWORD, DWORD> values;
    values.SetSize(4);
    CArray<DWORD, DWORD> copy;
    copy.Copy(values);
    copy[0] = 5;
    EXPECT_EQ(0u, values[0]);
    values.RemoveAll();
    EXPECT_TRUE(values.IsEmpty());
    EXPECT_EQ(4, copy.GetSize());
}

} // namespace
