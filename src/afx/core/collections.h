// Lists and arrays. They hold their elements by value: for the object collections that value
// is a pointer, so the objects belong to whoever put them in, never to the collection.
#pragma once

#include "afx/core/cstring.h"
#include "afx/core/object.h"
#include "afx/core/types.h"

#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

namespace afx { struct PositionTag; }
// A place in a list; stays valid until the element at it is removed.
using POSITION = afx::PositionTag*;

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
public:
    CList() = default;
    // Nodes are allocated `blockSize` at a time, and given back when the list is emptied.
    explicit CList(INT_PTR blockSize) : blockSize(blockSize > 0 ? blockSize : defaultBlockSize) {}
    CList(const CList& other) : CObject(other), blockSize(other.blockSize) { AppendAll(other); }
    CList& operator=(const CList& other)
    {
        if (this != &other) {
            RemoveAll();
            AppendAll(other);
        }
        return *this;
    }
    // Moving hands the nodes over: the moved-from list is empty.
    CList(CList&& other) noexcept : CObject(other), blockSize(other.blockSize) { Take(other); }
    CList& operator=(CList&& other) noexcept
    {
        if (this != &other) {
            RemoveAll();
            Take(other);
        }
        return *this;
    }
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return count; }
    INT_PTR GetSize() const { return count; }
    BOOL IsEmpty() const { return count == 0; }

    // On an empty list these throw std::out_of_range.
    TYPE& GetHead() { return NonEmpty(head)->data; }
    const TYPE& GetHead() const { return NonEmpty(head)->data; }
    TYPE& GetTail() { return NonEmpty(tail)->data; }
    const TYPE& GetTail() const { return NonEmpty(tail)->data; }
    TYPE RemoveHead() { return Unlink(NonEmpty(head)); }

    POSITION AddHead(ARG_TYPE element) { return Link(element, nullptr, head); }
    POSITION AddTail(ARG_TYPE element) { return Link(element, tail, nullptr); }
    void RemoveAll()
    {
        while (head)
            Unlink(head);
    }

    POSITION GetHeadPosition() const { return ToPosition(head); }
    // Return the element at `position` and move it on; a null position throws std::invalid_argument.
    TYPE& GetNext(POSITION& position) { return Step(position)->data; }
    const TYPE& GetNext(POSITION& position) const { return Step(position)->data; }

    TYPE& GetAt(POSITION position) { return At(position)->data; }
    const TYPE& GetAt(POSITION position) const { return At(position)->data; }
    void RemoveAt(POSITION position) { Unlink(At(position)); }
    // A null position inserts at the head.
    POSITION InsertBefore(POSITION position, ARG_TYPE element)
    {
        if (!position)
            return AddHead(element);
        Node* next = At(position);
        return Link(element, next->prev, next);
    }

    // The first element equal to `value` after `startAfter` (from the head when null), or null.
    POSITION Find(ARG_TYPE value, POSITION startAfter = nullptr) const
    {
        for (Node* node = startAfter ? At(startAfter)->next : head; node; node = node->next) {
            if (node->data == value)
                return ToPosition(node);
        }
        return nullptr;
    }
    // Null when the index is outside the list.
    POSITION FindIndex(INT_PTR index) const
    {
        if (index < 0 || index >= count)
            return nullptr;
        Node* node = head;
        while (index-- > 0)
            node = node->next;
        return ToPosition(node);
    }

private:
    struct Node {
        TYPE data;
        Node* prev;
        Node* next;
    };
    // A block of nodes' room: this header, then blockSize places for a node.
    struct alignas(Node) Block {
        Block* next;
    };
    // A place for a node that holds none.
    struct Free {
        Free* next;
    };
    static_assert(sizeof(Free) <= sizeof(Node) && alignof(Free) <= alignof(Node));
    static constexpr INT_PTR defaultBlockSize = 10;

    static POSITION ToPosition(Node* node) { return reinterpret_cast<POSITION>(node); }
    static Node* At(POSITION position)
    {
        if (!position)
            throw std::invalid_argument("null POSITION");
        return reinterpret_cast<Node*>(position);
    }
    static Node* Step(POSITION& position)
    {
        Node* node = At(position);
        position = ToPosition(node->next);
        return node;
    }
    static Node* NonEmpty(Node* end)
    {
        if (!end)
            throw std::out_of_range("empty list");
        return end;
    }

    void* NewPlace()
    {
        if (!freePlaces) {
            auto* block = static_cast<Block*>(::operator new(sizeof(Block) + sizeof(Node) * size_t(blockSize)));
            block->next = blocks;
            blocks = block;
            auto* places = reinterpret_cast<unsigned char*>(block + 1);
            for (INT_PTR i = blockSize; i-- > 0;)
                freePlaces = new (places + sizeof(Node) * size_t(i)) Free{freePlaces};
        }
        Free* place = freePlaces;
        freePlaces = place->next;
        return place;
    }
    void GiveBack(void* place)
    {
        freePlaces = new (place) Free{freePlaces};
        if (count == 0) {
            // Empty: every place is free, and the blocks go.
            while (blocks)
                ::operator delete(std::exchange(blocks, blocks->next));
            freePlaces = nullptr;
        }
    }
    POSITION Link(ARG_TYPE element, Node* prev, Node* next)
    {
        void* place = NewPlace();
        Node* node;
        try {
            node = new (place) Node{element, prev, next};
        } catch (...) {
            GiveBack(place);
            throw;
        }
        (prev ? prev->next : head) = node;
        (next ? next->prev : tail) = node;
        ++count;
        return ToPosition(node);
    }
    TYPE Unlink(Node* node)
    {
        (node->prev ? node->prev->next : head) = node->next;
        (node->next ? node->next->prev : tail) = node->prev;
        --count;
        TYPE data = std::move(node->data);
        node->~Node();
        GiveBack(node);
        return data;
    }
    void Take(CList& other) noexcept
    {
        head = std::exchange(other.head, nullptr);
        tail = std::exchange(other.tail, nullptr);
        count = std::exchange(other.count, 0);
        blocks = std::exchange(other.blocks, nullptr);
        freePlaces = std::exchange(other.freePlaces, nullptr);
    }
    void AppendAll(const CList& other)
    {
        for (Node* node = other.head; node; node = node->next)
            AddTail(node->data);
    }

    Node* head = nullptr;
    Node* tail = nullptr;
    INT_PTR count = 0;
    INT_PTR blockSize = defaultBlockSize;
    Block* blocks = nullptr;
    Free* freePlaces = nullptr;
};

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;
    CArray(const CArray& other) = default;
    CArray& operator=(const CArray& other) = default;
    CArray(CArray&& other) noexcept = default;
    CArray& operator=(CArray&& other) noexcept = default;

    INT_PTR GetSize() const { return Size(); }
    INT_PTR GetCount() const { return Size(); }
    BOOL IsEmpty() const { return elements.empty(); }
    // New elements are value-initialised (null pointers, zeros, empty strings); the growth
    // step is left to the storage. A negative size throws std::invalid_argument.
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1)
    {
        if (newSize < 0)
            throw std::invalid_argument("negative array size");
        elements.resize(static_cast<size_t>(newSize));
    }
    void RemoveAll() { elements.clear(); }

    // An index outside the array throws std::out_of_range.
    const TYPE& GetAt(INT_PTR index) const { return elements.at(Index(index)); }
    TYPE& GetAt(INT_PTR index) { return elements.at(Index(index)); }
    const TYPE& operator[](INT_PTR index) const { return GetAt(index); }
    TYPE& operator[](INT_PTR index) { return GetAt(index); }
    const TYPE* GetData() const { return elements.data(); }
    TYPE* GetData() { return elements.data(); }

    INT_PTR Add(ARG_TYPE element)
    {
        elements.push_back(element);
        return Size() - 1;
    }
    void Copy(const CArray& other) { elements = other.elements; }
    // The removed range must lie inside the array, else std::out_of_range.
    void RemoveAt(INT_PTR index, INT_PTR count = 1)
    {
        if (index < 0 || count < 0 || count > Size() - index)
            throw std::out_of_range("array index");
        elements.erase(elements.begin() + index, elements.begin() + index + count);
    }

private:
    INT_PTR Size() const { return static_cast<INT_PTR>(elements.size()); }
    static size_t Index(INT_PTR index)
    {
        if (index < 0)
            throw std::out_of_range("array index");
        return static_cast<size_t>(index);
    }

    std::vector<TYPE> elements;
};

class CObList : public CList<CObject*, CObject*> {
public:
    using CList::CList;
};

class CStringList : public CList<CString, const CString&> {
public:
    using CList::CList;
};

class CStringArray : public CArray<CString, const CString&> {};
