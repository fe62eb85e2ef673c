#pragma once
// A list of heap objects held by pointer that two threads can use at once.
// Every operation that walks or changes the chain holds the list's own
// critical section for its whole length; the count is mirrored in an atomic
// word so it can be polled without the lock.
#include <atomic>
#include <memory>

#include "framework/CList.h"
#include "framework/CSingleLock.h"

template <class T>
class LockedPtrList {
public:
    LockedPtrList() : m_list(10) {}

    // Unlinks the nodes but leaves the items alive: an owner that wants them
    // destroyed empties the list first.
    virtual ~LockedPtrList()
    {
        CSingleLock lock(&m_cs, TRUE);
        m_list.RemoveAll();
        m_nCount.store(0);
    }

    LockedPtrList(const LockedPtrList&) = delete;
    LockedPtrList& operator=(const LockedPtrList&) = delete;

    void AddTail(T* pItem)
    {
        CSingleLock lock(&m_cs, TRUE);
        m_list.AddTail(pItem);
        m_nCount.store(m_list.GetCount());
    }

    // Appends a default-constructed item and returns it. If allocation or
    // construction fails, nothing is appended and the failure propagates.
    T* AddNew()
    {
        CSingleLock lock(&m_cs, TRUE);
        std::unique_ptr<T> item(new T());
        m_list.AddTail(item.get());
        m_nCount.store(m_list.GetCount());
        return item.release();
    }

    int GetCount() const { return m_nCount.load(); }

    // The item at 0 <= index < count, or null for any other index.
    T* GetAt(int index)
    {
        CSingleLock lock(&m_cs, TRUE);
        POSITION position = m_list.FindIndex(index);
        return position != nullptr ? m_list.GetAt(position) : nullptr;
    }

    // Unlinks and destroys the item at the index; any other index does nothing.
    void RemoveAt(int index)
    {
        CSingleLock lock(&m_cs, TRUE);
        POSITION position = m_list.FindIndex(index);
        if (position == nullptr)
            return;
        T* item = m_list.GetAt(position);
        m_list.RemoveAt(position);
        m_nCount.store(m_list.GetCount());
        delete item;
    }

    // Unlinks the first item and hands it to the caller; null when empty.
    T* RemoveHead()
    {
        CSingleLock lock(&m_cs, TRUE);
        if (m_list.IsEmpty())
            return nullptr;
        T* item = m_list.RemoveHead();
        m_nCount.store(m_list.GetCount());
        return item;
    }

    // Destroys every item, last added first.
    void DeleteAll()
    {
        CSingleLock lock(&m_cs, TRUE);
        while (m_list.GetCount() > 0) {
            T* item = m_list.RemoveTail();
            m_nCount.store(m_list.GetCount());
            delete item;
        }
    }

    // Releases every item's storage, last added first, without running a
    // destructor: for lists of plain values such as control ids.
    void FreeAll()
    {
        CSingleLock lock(&m_cs, TRUE);
        while (m_list.GetCount() > 0) {
            T* item = m_list.RemoveTail();
            m_nCount.store(m_list.GetCount());
            ::operator delete(static_cast<void*>(item));
        }
    }

    // The list's critical section, for a caller that must keep the items
    // from being removed across several operations (it is re-entrant, so
    // the list's own operations still work while it is held).
    CCriticalSection* GetSection() { return &m_cs; }

private:
    CCriticalSection m_cs;
    CList<T*, T*> m_list;
    std::atomic<int> m_nCount{0};
};
