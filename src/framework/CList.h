#pragma once
// A doubly linked list of values whose nodes are carved from blocks of
// nBlockSize nodes and recycled through a free list, so adding and removing
// in a steady state allocates nothing. Not thread-safe by itself.
#include <cstddef>
#include <new>
#include <utility>

#include "framework/AfxCore.h"

struct __POSITION {};
typedef __POSITION* POSITION;

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList {
public:
    explicit CList(int nBlockSize = 10) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
    ~CList()
    {
        RemoveAll();
        FreeBlocks();
    }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    POSITION AddTail(ARG_TYPE newElement)
    {
        Node* node = NewNode(m_pTail, nullptr, newElement);
        if (m_pTail != nullptr)
            m_pTail->pNext = node;
        else
            m_pHead = node;
        m_pTail = node;
        return ToPosition(node);
    }

    // Both removals require a non-empty list, as callers check the count.
    TYPE RemoveHead()
    {
        Node* node = m_pHead;
        TYPE value = node->data;
        Unlink(node);
        return value;
    }
    TYPE RemoveTail()
    {
        Node* node = m_pTail;
        TYPE value = node->data;
        Unlink(node);
        return value;
    }

    POSITION GetHeadPosition() const { return ToPosition(m_pHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pTail); }

    TYPE& GetNext(POSITION& rPosition)
    {
        Node* node = FromPosition(rPosition);
        rPosition = ToPosition(node->pNext);
        return node->data;
    }
    TYPE& GetAt(POSITION position) { return FromPosition(position)->data; }

    // The position of the element nIndex steps from the head, or null when
    // the index is outside 0..count-1.
    POSITION FindIndex(int nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        Node* node = m_pHead;
        while (nIndex-- > 0)
            node = node->pNext;
        return ToPosition(node);
    }

    void RemoveAt(POSITION position) { Unlink(FromPosition(position)); }

    void RemoveAll()
    {
        while (m_pHead != nullptr)
            Unlink(m_pHead);
    }

private:
    struct Node {
        Node* pNext;
        Node* pPrev;
        TYPE data;
    };
    // One allocation of m_nBlockSize nodes; blocks live until the list dies.
    struct alignas(Node) Block {
        Block* pNext;
    };

    static POSITION ToPosition(Node* node) { return reinterpret_cast<POSITION>(node); }
    static Node* FromPosition(POSITION position) { return reinterpret_cast<Node*>(position); }

    Node* NewNode(Node* pPrev, Node* pNext, ARG_TYPE value)
    {
        if (m_pFree == nullptr)
            AllocateBlock();
        Node* node = m_pFree;
        m_pFree = m_pFree->pNext;
        node->pPrev = pPrev;
        node->pNext = pNext;
        new (&node->data) TYPE(value);
        ++m_nCount;
        return node;
    }

    void Unlink(Node* node)
    {
        if (node->pPrev != nullptr)
            node->pPrev->pNext = node->pNext;
        else
            m_pHead = node->pNext;
        if (node->pNext != nullptr)
            node->pNext->pPrev = node->pPrev;
        else
            m_pTail = node->pPrev;
        node->data.~TYPE();
        node->pNext = m_pFree;
        m_pFree = node;
        --m_nCount;
    }

    void AllocateBlock()
    {
        const size_t bytes = sizeof(Block) + sizeof(Node) * static_cast<size_t>(m_nBlockSize);
        Block* block = static_cast<Block*>(::operator new(bytes));
        block->pNext = m_pBlocks;
        m_pBlocks = block;
        Node* nodes = reinterpret_cast<Node*>(block + 1);
        for (int i = m_nBlockSize - 1; i >= 0; --i) {
            nodes[i].pNext = m_pFree;
            m_pFree = &nodes[i];
        }
    }

    void FreeBlocks()
    {
        while (m_pBlocks != nullptr) {
            Block* next = m_pBlocks->pNext;
            ::operator delete(m_pBlocks);
            m_pBlocks = next;
        }
        m_pFree = nullptr;
    }

    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    Node* m_pFree = nullptr;
    Block* m_pBlocks = nullptr;
    int m_nCount = 0;
    int m_nBlockSize;
};
